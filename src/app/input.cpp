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

// Applies every queued key event matching `mask`, one event per call.
static void TakeKeyEvents(Uint32 mask, uint32_t newState)
{
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, mask) > 0)
        if (event.key.keysym.sym < KEY_STATE_COUNT)
            keyState[event.key.keysym.sym] = newState;
}

static void TakeMouseButtonEvents(Uint32 mask, uint32_t newState)
{
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, mask) > 0)
        if (event.button.button < MOUSE_BUTTON_COUNT)
            mouseButtonState[event.button.button] = newState;
}

void PollInput()
{
    SettlePressed(keyState, KEY_STATE_COUNT);
    TakeKeyEvents(SDL_KEYDOWNMASK, BUTTON_PRESSED);
    TakeKeyEvents(SDL_KEYUPMASK, BUTTON_UP);
    SettlePressed(mouseButtonState, MOUSE_BUTTON_COUNT);
    TakeMouseButtonEvents(SDL_MOUSEBUTTONDOWNMASK, BUTTON_PRESSED);
    TakeMouseButtonEvents(SDL_MOUSEBUTTONUPMASK, BUTTON_UP);
    SDL_GetMouseState(&mouseX, &mouseY);
}
