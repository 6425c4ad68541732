/* Preloaded into the game by bench/startup_process.sh: at the first presented
 * frame it prints the wall-clock time (seconds since the epoch) to standard
 * error and ends the process, so the script can time start to first frame of
 * the real program, dynamic loading and all. With FRAME_RATE_FRAMES="S N" set
 * (bench/frame_rate_process.sh) it lets S frames pass, then prints the frames
 * per second of the next N presented frames and ends the process. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static double Now(void)
{
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return (double)now.tv_sec + 1e-9 * (double)now.tv_nsec;
}

void SDL_GL_SwapBuffers(void)
{
    static long frames;
    static double begin;
    void (*swap)(void);
    *(void **)&swap = dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers");
    swap();
    const char *timed = getenv("FRAME_RATE_FRAMES");
    long skip = 0, count = 0;
    if (!timed || sscanf(timed, "%ld %ld", &skip, &count) != 2) {
        fprintf(stderr, "first frame at %.9f\n", Now());
        _exit(0);
    }
    frames++;
    if (frames == skip)
        begin = Now();
    if (frames == skip + count) {
        double seconds = Now() - begin;
        fprintf(stderr, "frames per second %.1f (%.1f ms a frame)\n", count / seconds, 1000.0 * seconds / count);
        _exit(0);
    }
}
