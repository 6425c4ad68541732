/* Preloaded into the game by bench/startup_process.sh: at the first presented
 * frame it prints the wall-clock time (seconds since the epoch) to standard
 * error and ends the process, so the script can time start to first frame of
 * the real program, dynamic loading and all. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <time.h>
#include <unistd.h>

void SDL_GL_SwapBuffers(void)
{
    void (*swap)(void);
    *(void **)&swap = dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers");
    swap();
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    fprintf(stderr, "first frame at %ld.%09ld\n", (long)now.tv_sec, now.tv_nsec);
    _exit(0);
}
