#include <SDL.h>
#include "app/input.h"
#include "support/test_support.h"

// Queues a key (SDL_KEYDOWN/UP) or mouse button (SDL_MOUSEBUTTONDOWN/UP) event.
static void Push(Uint8 type, int code)
{
    SDL_Event event = {};
    event.type = type;
    Uint8 state = type == SDL_KEYDOWN || type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP)
        event.key.type = type, event.key.state = state, event.key.keysym.sym = (SDLKey)code;
    else if (type != SDL_QUIT) event.button.type = type, event.button.state = state, event.button.button = (Uint8)code;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

TEST(Input, PressedForOneFrameThenHeldTheLastStateOfAFrameWinsAndOtherEventsStayQueued)
{
    // SDL's real event queue on the dummy video driver: no window needed.
    static char dummyDriver[] = "SDL_VIDEODRIVER=dummy";
    putenv(dummyDriver);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    ASSERT_NE(SDL_SetVideoMode(64, 64, 0, 0), nullptr);
    // Indexes past the tables are ignored; a quit event is left in the queue.
    Push(SDL_KEYDOWN, 500), Push(SDL_KEYDOWN, 499), Push(SDL_MOUSEBUTTONDOWN, 10), Push(SDL_MOUSEBUTTONDOWN, 9);
    Push(SDL_QUIT, 0);
    PollInput();
    EXPECT_EQ(keyState[499], BUTTON_PRESSED);
    EXPECT_EQ(mouseButtonState[9], BUTTON_PRESSED);
    for (int i = 0; i < KEY_STATE_COUNT - 1; i++) EXPECT_EQ(keyState[i], BUTTON_UP) << i;
    // Left queued: the quit event, with whatever the platform adds (focus, motion), and no key or button.
    SDL_Event left[16];
    EXPECT_EQ(SDL_PeepEvents(left, 16, SDL_PEEKEVENT, SDL_QUITMASK), 1);
    EXPECT_EQ(SDL_PeepEvents(left, 16, SDL_PEEKEVENT, SDL_KEYEVENTMASK | SDL_MOUSEBUTTONDOWNMASK | SDL_MOUSEBUTTONUPMASK), 0);
    EXPECT_EQ(mouseX, 0);
    EXPECT_EQ(mouseY, 0);
    Push(SDL_KEYDOWN, SDLK_w), Push(SDL_KEYDOWN, SDLK_SPACE);  // two keys in one frame are both pressed
    PollInput();
    EXPECT_EQ(keyState[SDLK_w], BUTTON_PRESSED);
    EXPECT_EQ(keyState[SDLK_SPACE], BUTTON_PRESSED);
    PollInput();
    EXPECT_EQ(keyState[SDLK_w], BUTTON_HELD);
    PollInput();
    EXPECT_EQ(keyState[SDLK_w], BUTTON_HELD);
    Push(SDL_KEYUP, SDLK_w);
    PollInput();
    EXPECT_EQ(keyState[SDLK_w], BUTTON_UP);
    EXPECT_EQ(keyState[SDLK_SPACE], BUTTON_HELD);
    Push(SDL_KEYDOWN, SDLK_1), Push(SDL_KEYUP, SDLK_1);  // down and up between two polls: never seen as pressed
    PollInput();
    EXPECT_EQ(keyState[SDLK_1], BUTTON_UP);
    Push(SDL_KEYDOWN, SDLK_2);  // released and pressed again between two polls: pressed
    PollInput();
    Push(SDL_KEYUP, SDLK_2), Push(SDL_KEYDOWN, SDLK_2);
    PollInput();
    EXPECT_EQ(keyState[SDLK_2], BUTTON_PRESSED);
    Push(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    PollInput();
    EXPECT_EQ(mouseButtonState[SDL_BUTTON_LEFT], BUTTON_PRESSED);
    PollInput();
    EXPECT_EQ(mouseButtonState[SDL_BUTTON_LEFT], BUTTON_HELD);
    Push(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT), Push(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT);
    Push(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
    PollInput();
    EXPECT_EQ(mouseButtonState[SDL_BUTTON_LEFT], BUTTON_UP);
    EXPECT_EQ(mouseButtonState[SDL_BUTTON_RIGHT], BUTTON_UP);
    EXPECT_EQ(mouseButtonState[0], BUTTON_UP);
    SDL_Quit();
}
