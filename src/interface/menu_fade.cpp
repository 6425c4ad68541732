#include "interface/menu_fade.h"

#include <SDL.h>

#include "app/input.h"

bool menuOpen;
float menuFade;

void ResetMenuFade()
{
    menuFade = 0.0f;
    menuOpen = false;
}

void UpdateMenuFade(float step)
{
    // Only the frame the key goes down toggles: holding Escape toggles once.
    if (keyState[SDLK_ESCAPE] == BUTTON_PRESSED)
        menuOpen = !menuOpen;
    if (menuOpen)
        menuFade = menuFade + step * MENU_FADE_RATE;
    else
        menuFade = menuFade - step * MENU_FADE_RATE;
    // Closed means exactly 0: the frame loop plays only while menuFade == 0.
    if (menuFade > MENU_FADE_FULL)
        menuFade = MENU_FADE_FULL;
    else if (menuFade < 0.0f)
        menuFade = 0.0f;
    else if (!(menuFade == menuFade))
        menuFade = 0.0f;
}
