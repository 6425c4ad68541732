// Menu fade: whether the pause menu is wanted open and how far it has faded in.
#pragma once

extern bool menuOpen;   // the pause menu is wanted open
extern float menuFade;  // 0 while playing, up to 100 with the menu fully shown
