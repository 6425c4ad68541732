// Preloaded into the Linux game by tests/web_test.py: the calendar clock stands still at
// $CAIRNFOLD_CLOCK (seconds since 1970) while SDL's ticks run, and frame N (from $CAIRNFOLD_FRAME, 1
// when unset), as it is about to be presented, is read from the back buffer and written to
// $CAIRNFOLD_FRAME_FILE as a PPM.
#define _GNU_SOURCE
#include <GL/gl.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

time_t time(time_t* out)
{
    time_t now = (time_t)atoll(getenv("CAIRNFOLD_CLOCK"));
    if (out) *out = now;
    return now;
}

void SDL_GL_SwapBuffers(void)
{
    static int swaps;
    static void (*real)(void);
    if (!real) real = (void (*)(void))dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers");
    const char* frame = getenv("CAIRNFOLD_FRAME");
    if (++swaps == (frame ? atoi(frame) : 1)) {
        GLint view[4];
        glGetIntegerv(GL_VIEWPORT, view);
        unsigned char* pixels = malloc((size_t)view[2] * view[3] * 3);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, view[2], view[3], GL_RGB, GL_UNSIGNED_BYTE, pixels);
        FILE* out = fopen(getenv("CAIRNFOLD_FRAME_FILE"), "wb");
        fprintf(out, "P6 %d %d 255\n", view[2], view[3]);
        for (int y = view[3] - 1; y >= 0; y--) fwrite(pixels + (size_t)y * view[2] * 3, 3, view[2], out);
        fclose(out);
        free(pixels);
    }
    real();
}
