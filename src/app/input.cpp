#include "app/input.h"

#include <SDL.h>

uint32_t keyState[KEY_STATE_COUNT];
uint32_t mouseButtonState[MOUSE_BUTTON_COUNT];
int mouseX;
int mouseY;

static void SettlePressed(uint32_t* states, int count)
{
    for (int i = 0; i < count; i++)
        if (states[i] == BUTTON_PRESSED)
            states[i] = BUTTON_HELD;
}

// Applies the queued key events one at a time in the order they happened, so
// a key that went down and up since the last poll ends up, and a key that was
// released and pressed again ends pressed.
static void TakeKeyEvents()
{
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_KEYDOWNMASK | SDL_KEYUPMASK) > 0)
        if (event.key.keysym.sym < KEY_STATE_COUNT)
            keyState[event.key.keysym.sym] = event.type == SDL_KEYDOWN ? BUTTON_PRESSED : BUTTON_UP;
}

static void TakeMouseButtonEvents()
{
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_MOUSEBUTTONDOWNMASK | SDL_MOUSEBUTTONUPMASK) > 0)
        if (event.button.button < MOUSE_BUTTON_COUNT)
            mouseButtonState[event.button.button] = event.type == SDL_MOUSEBUTTONDOWN ? BUTTON_PRESSED : BUTTON_UP;
}

void PollInput()
{
    SettlePressed(keyState, KEY_STATE_COUNT);
    TakeKeyEvents();
    SettlePressed(mouseButtonState, MOUSE_BUTTON_COUNT);
    TakeMouseButtonEvents();
    SDL_GetMouseState(&mouseX, &mouseY);
}
