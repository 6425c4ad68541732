// Menu fade: whether the pause menu is wanted open and how far it has faded in, stepped once a frame.
#pragma once

constexpr float MENU_FADE_RATE = 5.0f;    // change of menuFade per unit of step
constexpr float MENU_FADE_FULL = 100.0f;  // the menu fully shown

extern bool menuOpen;   // the pause menu is wanted open
extern float menuFade;  // 0 while playing, up to 100 with the menu fully shown

// Menu closed and faded out.
void ResetMenuFade();

// Escape going down this frame toggles menuOpen; then menuFade moves
// step x 5 toward 100 (open) or 0 (closed) and is held within 0..100.
void UpdateMenuFade(float step);
