// SDL 1.2's event masks in Emscripten's SDL headers, included before every file of the browser build.
#pragma once

#include <SDL.h>

// There a mask is a range of event types, "first, last"; two masks joined with | give the first
// type of the one, the two types joined and the last of the other: the range from the first to the
// last, which holds both kinds when they are neighbours (key down and up, button down and up).
inline int SDL_PeepEvents(SDL_Event* events, int count, SDL_eventaction action, Uint32 first, Uint32 joined,
                          Uint32 last)
{
    (void)joined;
    return SDL_PeepEvents(events, count, action, first, last);
}

// SDL 1.2's numbers for the keys beyond the characters, which its key tables are indexed by; in
// Emscripten's headers they lie past 2^30. The page's SDL gives the arrows these numbers
// (browser_sdl_web.cpp). The headers declare them as enumerators, already read above; from here on
// these macros take their names.
#define SDLK_UP 273
#define SDLK_DOWN 274
#define SDLK_RIGHT 275
#define SDLK_LEFT 276
