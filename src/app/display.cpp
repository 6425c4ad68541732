#include "app/display.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/camera.h"
#include "app/video_driver.h"

float screenWidth;
float screenHeight;
int screenBpp;
bool fullscreen;
bool showCursor;
bool antialiasing;
bool mipmapping;
float aspectRatio;
SDL_Surface* screenSurface;

static const char WINDOW_CAPTION[] = "Cairnfold";

// SDL's video drivers that show nothing on any screen. SDL 2, and so SDL 1.2's compatibility layer
// over it, falls back to "offscreen" when no display can be reached: its OpenGL context draws into
// memory only, and the game would generate a world and play it unseen until killed.
static const char* const INVISIBLE_VIDEO_DRIVERS[] = {"offscreen", "dummy"};

// The name of the video driver SDL started with, when it is one that shows nothing; null otherwise.
static const char* InvisibleVideoDriver()
{
    char name[64] = "";
    if (!SDL_VideoDriverName(name, sizeof name)) return nullptr;
    for (const char* invisible : INVISIBLE_VIDEO_DRIVERS)
        if (strcmp(name, invisible) == 0) return invisible;
    return nullptr;
}

int TruncateSetting(float value)
{
    if (!(value == value))
        return 0;
    if (value >= 2147483647.0f)
        return INT_MAX;
    if (value <= -2147483648.0f)
        return INT_MIN;
    return (int)value;
}

void SetupOpenGLDisplay()
{
    if (const char* reason = ChooseVideoDriver()) {
        fprintf(stderr, "cairnfold: no OpenGL window can be shown: %s\n", reason);
        exit(EXIT_NO_OPENGL);
    }
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        fprintf(stderr, "cairnfold: the video system could not start (%s); is there a display?\n", SDL_GetError());
        exit(EXIT_NO_VIDEO);
    }
    if (const char* driver = InvisibleVideoDriver()) {
        fprintf(stderr, "cairnfold: no OpenGL window can be shown: SDL's video driver \"%s\" has no display; "
                        "is DISPLAY set?\n", driver);
        SDL_Quit();
        exit(EXIT_NO_OPENGL);
    }
    SDL_WM_SetCaption(WINDOW_CAPTION, nullptr);
    if (antialiasing) {
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 1);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 4);
    }
    // With no size configured, open a plain mode first: SDL gives a zero
    // width or height the desktop's size, which the window then adopts.
    if (screenWidth == 0.0f || screenHeight == 0.0f) {
        SDL_Surface* probe = SDL_SetVideoMode(TruncateSetting(screenWidth), TruncateSetting(screenHeight), screenBpp,
                                              SDL_DOUBLEBUF);
        if (probe) {
            screenWidth = (float)probe->w;
            screenHeight = (float)probe->h;
            aspectRatio = screenWidth / screenHeight;
            SDL_FreeSurface(probe);
        }
    }
    int width = TruncateSetting(screenWidth);
    int height = TruncateSetting(screenHeight);
    Uint32 flags = fullscreen ? (SDL_OPENGL | SDL_FULLSCREEN) : SDL_OPENGL;
    screenSurface = SDL_SetVideoMode(width, height, screenBpp, flags);
    if (!screenSurface) {
        fprintf(stderr, "cairnfold: no OpenGL window of %i x %i could be opened (%s)\n", width, height,
                SDL_GetError());
        SDL_Quit();
        exit(EXIT_NO_OPENGL);
    }
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, aspectRatio, NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1000.0);  // clamped to the far value 1.0
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glAlphaFunc(GL_GREATER, 0.0f);
}

void OpenDisplay()
{
    SetupOpenGLDisplay();
    screenWidth = (float)screenSurface->w;
    screenHeight = (float)screenSurface->h;
    screenBpp = screenSurface->format->BitsPerPixel;
    aspectRatio = screenWidth / screenHeight;
    SDL_ShowCursor(showCursor ? SDL_ENABLE : SDL_DISABLE);
}
