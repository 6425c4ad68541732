// Preloaded into the Linux game by tests/web_test.py: when frame N + 1 begins (its glClear), the
// frame N just presented is written to $CAIRNFOLD_FRAME_FILE as a PPM, N from $CAIRNFOLD_FRAME (1).
#define _GNU_SOURCE
#include <GL/gl.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

void glClear(GLbitfield mask)
{
    static int clears;
    static void (*real)(GLbitfield);
    if (!real) real = (void (*)(GLbitfield))dlsym(RTLD_NEXT, "glClear");
    const char* frame = getenv("CAIRNFOLD_FRAME");
    if (++clears == (frame ? atoi(frame) : 1) + 1) {
        GLint view[4];
        glGetIntegerv(GL_VIEWPORT, view);
        unsigned char* pixels = malloc((size_t)view[2] * view[3] * 3);
        glReadBuffer(GL_FRONT);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, view[2], view[3], GL_RGB, GL_UNSIGNED_BYTE, pixels);
        glReadBuffer(GL_BACK);
        FILE* out = fopen(getenv("CAIRNFOLD_FRAME_FILE"), "wb");
        fprintf(out, "P6 %d %d 255\n", view[2], view[3]);
        for (int y = view[3] - 1; y >= 0; y--) fwrite(pixels + (size_t)y * view[2] * 3, 3, view[2], out);
        fclose(out);
        free(pixels);
    }
    real(mask);
}
