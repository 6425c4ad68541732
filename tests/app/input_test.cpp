#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/input.h"

// SDL's real event queue on the dummy video driver: no window needed.
class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
        ASSERT_NE(SDL_SetVideoMode(64, 64, 0, 0), nullptr);
    }
    void TearDown() override { SDL_Quit(); }

    static void PushKey(Uint8 type, int symbol)
    {
        SDL_Event event = {};
        event.type = type;
        event.key.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = (SDLKey)symbol;
        ASSERT_EQ(SDL_PushEvent(&event), 0);
    }
    static void PushButton(Uint8 type, int button)
    {
        SDL_Event event = {};
        event.type = type;
        event.button.type = type;
        event.button.button = (Uint8)button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        ASSERT_EQ(SDL_PushEvent(&event), 0);
    }
};

TEST_F(InputTest, AKeyIsPressedForOneFrameThenHeldUntilReleased)
{
    EXPECT_EQ(mouseX, 0);
    EXPECT_EQ(mouseY, 0);
    PushKey(SDL_KEYDOWN, SDLK_w);
    PushKey(SDL_KEYDOWN, SDLK_SPACE);  // two keys in one frame are both pressed
    PollInput();
    EXPECT_EQ(keyState[SDLK_w], BUTTON_PRESSED);
    EXPECT_EQ(keyState[SDLK_SPACE], BUTTON_PRESSED);
    PollInput();
    EXPECT_EQ(keyState[SDLK_w], BUTTON_HELD);
    PollInput();
    EXPECT_EQ(keyState[SDLK_w], BUTTON_HELD);
    PushKey(SDL_KEYUP, SDLK_w);
    PollInput();
    EXPECT_EQ(keyState[SDLK_w], BUTTON_UP);
    EXPECT_EQ(keyState[SDLK_SPACE], BUTTON_HELD);
}

TEST_F(InputTest, EventsBetweenTwoPollsGiveTheLastState)
{
    // Down and up between two polls: never seen as pressed.
    PushKey(SDL_KEYDOWN, SDLK_1);
    PushKey(SDL_KEYUP, SDLK_1);
    PollInput();
    EXPECT_EQ(keyState[SDLK_1], BUTTON_UP);

    // Released and pressed again between two polls: pressed.
    PushKey(SDL_KEYDOWN, SDLK_2);
    PollInput();
    PushKey(SDL_KEYUP, SDLK_2);
    PushKey(SDL_KEYDOWN, SDLK_2);
    PollInput();
    EXPECT_EQ(keyState[SDLK_2], BUTTON_PRESSED);

    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    PollInput();
    EXPECT_EQ(mouseButtonState[SDL_BUTTON_LEFT], BUTTON_PRESSED);
    PollInput();
    EXPECT_EQ(mouseButtonState[SDL_BUTTON_LEFT], BUTTON_HELD);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
    PollInput();
    EXPECT_EQ(mouseButtonState[SDL_BUTTON_LEFT], BUTTON_UP);
    EXPECT_EQ(mouseButtonState[SDL_BUTTON_RIGHT], BUTTON_UP);
    EXPECT_EQ(mouseButtonState[0], BUTTON_UP);
}

TEST_F(InputTest, OutOfRangeIndexesAreIgnoredAndOtherEventsStayQueued)
{
    PushKey(SDL_KEYDOWN, 500);
    PushKey(SDL_KEYDOWN, 499);
    PushButton(SDL_MOUSEBUTTONDOWN, 10);
    PushButton(SDL_MOUSEBUTTONDOWN, 9);
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    PollInput();
    EXPECT_EQ(keyState[499], BUTTON_PRESSED);
    EXPECT_EQ(mouseButtonState[9], BUTTON_PRESSED);
    for (int i = 0; i < KEY_STATE_COUNT - 1; i++)
        EXPECT_EQ(keyState[i], BUTTON_UP) << i;
    SDL_Event left;
    ASSERT_EQ(SDL_PeepEvents(&left, 1, SDL_GETEVENT, SDL_ALLEVENTS), 1);
    EXPECT_EQ(left.type, SDL_QUIT);
    EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_GETEVENT, SDL_ALLEVENTS), 0);
}
