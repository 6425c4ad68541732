// Video driver choice: which of SDL's video drivers may open the game's window on this system.
#pragma once

// Called before SDL starts its video system. Returns null when SDL may start it: the player named a
// driver in SDL_VIDEODRIVER (always tried), or a display the game's window can appear on is there,
// in which case the driver that reaches it may be chosen here. Otherwise returns why no window can
// be shown, and SDL must not be started: its fallbacks on such a system draw text-mode pictures on
// the terminal the game was started from.
const char* ChooseVideoDriver();
