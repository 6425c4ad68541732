// Interface media: Media/dashboard.png made into the interface atlas and its texture, and the 2D tables filled.
#pragma once

#include <SDL.h>

constexpr const char* DASHBOARD_PATH = "Media/dashboard.png";

extern SDL_Surface* interfaceSurface;  // the atlas surface the interface texture was made from

// Builds the atlas and its texture once, right after the display opens, then
// fills the pointer, font, frame and menu-bar tables and resets the menu fade.
// Without the dashboard image nothing of the interface could be drawn, so
// start-up stops: one line on standard error and exit status EXIT_NO_MEDIA.
void LoadInterfaceMedia();
