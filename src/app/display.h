// Display: the game's one window, its OpenGL context and the fixed drawing state.
#pragma once

#include <SDL.h>

extern float screenWidth;    // window width in pixels
extern float screenHeight;   // window height in pixels
extern int screenBpp;        // colour depth in bits per pixel, 0 = desktop depth
extern bool fullscreen;      // open a full-screen mode instead of a window
extern bool showCursor;      // show the system cursor over the window
extern bool antialiasing;    // ask for a 4-sample multisampled context
extern bool mipmapping;      // build mipmaps for the world texture
extern float aspectRatio;    // screenWidth / screenHeight
extern SDL_Surface* screenSurface;  // the display surface, owned by SDL

// Exit statuses of a start-up that cannot go on.
constexpr int EXIT_NO_VIDEO = 1;   // the video subsystem could not start
constexpr int EXIT_NO_OPENGL = 3;  // no OpenGL mode could be opened, or none that any screen shows
constexpr int EXIT_NO_MEDIA = 4;   // Media/dashboard.png (or the whole Media/ folder) could not be read

// A size or depth from the settings as an integer, truncated toward zero;
// values beyond the int range (which no display has) saturate, NaN gives 0.
int TruncateSetting(float value);

// Opens the window and context and reads back the mode really opened.
// Exits the process with status 1 or 3 when that is impossible or the window would show nowhere.
void OpenDisplay();

// The SDL and OpenGL set-up proper; called only by OpenDisplay.
void SetupOpenGLDisplay();
