// Video driver choice on Linux and other X11 systems.
#include "app/video_driver.h"

#include <SDL.h>
#include <cstdlib>

// SDL 1.2 itself ended at 1.2.15; its compatibility layer over SDL 2 reports patch levels from 50 on.
static const int SDL2_LAYER_FIRST_PATCH = 50;

static bool IsSet(const char* name)
{
    const char* value = getenv(name);
    return value && *value;
}

const char* ChooseVideoDriver()
{
    if (IsSet("SDL_VIDEODRIVER")) return nullptr;
    // SDL 2 reaches X11 and Wayland displays; with neither it falls back to drivers that show
    // nothing ("offscreen"), which start-up refuses once SDL names them.
    if (SDL_Linked_Version()->patch >= SDL2_LAYER_FIRST_PATCH)
        return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") ? nullptr : "there is no display (DISPLAY is not set)";
    // SDL 1.2 opens OpenGL windows through X11 alone. Left to choose, it falls back from an X server
    // it cannot reach to the console's framebuffer and to text-mode drivers that take over the
    // terminal, none of which has OpenGL; so X11 is named, and with no DISPLAY SDL is not started.
    if (!IsSet("DISPLAY")) return "there is no display (DISPLAY is not set)";
    setenv("SDL_VIDEODRIVER", "x11", 1);
    return nullptr;
}
