// Input: SDL's key and mouse-button events turned into polled per-frame state.
#pragma once

#include <cstdint>

constexpr int KEY_STATE_COUNT = 500;
constexpr int MOUSE_BUTTON_COUNT = 10;

constexpr uint32_t BUTTON_UP = 0;       // not pressed
constexpr uint32_t BUTTON_HELD = 1;     // pressed, and already pressed at the previous poll
constexpr uint32_t BUTTON_PRESSED = 2;  // went down since the previous poll

extern uint32_t keyState[KEY_STATE_COUNT];             // by SDL key symbol
extern uint32_t mouseButtonState[MOUSE_BUTTON_COUNT];  // by SDL button number, 1 = left
extern int mouseX;  // pointer position in window pixels, origin top-left
extern int mouseY;

// Takes the key and mouse-button events from the queue, in the order they
// happened, and reads the pointer position. Called once per frame after SDL_PumpEvents.
void PollInput();
