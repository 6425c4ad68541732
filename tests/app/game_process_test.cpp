#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "support/test_support.h"

// A working directory like the repository root: the game's media, an empty
// Saves folder and a small window in settings.ini.
static std::string MakeGameDir()
{
    std::string dir = MakeTempDir();
    RunProcess({"ln", "-s", std::string(CAIRNFOLD_SOURCE_DIR) + "/Media", dir + "/Media"}, "", {}, 5000);
    RunProcess({"mkdir", dir + "/Saves"}, "", {}, 5000);
    WriteFileText(dir + "/settings.ini", "# test window\nscreenw=320\nscreenh=240\n");
    return dir;
}

class GameProcess : public ::testing::Test {
protected:
    XvfbServer server = {-1, -1};
    void TearDown() override { StopXvfb(server); }
};

TEST_F(GameProcess, ACloseRequestEndsTheGameWithStatusZero)
{
    server = StartXvfb();
    ASSERT_GE(server.display, 0);
    std::string display = "DISPLAY=:" + std::to_string(server.display);
    std::string dir = MakeGameDir();
    pid_t game = SpawnProcess({CAIRNFOLD_BINARY}, dir, {display});
    // The window appears once the display is open, and the game keeps
    // running until it is asked to close.
    EXPECT_EQ(RunProcess({"xdotool", "search", "--sync", "--onlyvisible", "--name", "Cairnfold"}, "", {display},
                         60000),
              0);
    EXPECT_TRUE(StillRunningAfter(game, 1000));
    kill(game, SIGTERM);
    EXPECT_EQ(WaitForExit(game, 30000), 0);
}

TEST_F(GameProcess, NoVideoSubsystemEndsWithStatusOne)
{
    std::string dir = MakeGameDir();
    EXPECT_EQ(RunProcess({CAIRNFOLD_BINARY}, dir, {"DISPLAY=", "SDL_VIDEODRIVER=x11"}, 30000), 1);
}

TEST_F(GameProcess, NoOpenGLModeEndsWithStatusThree)
{
    std::string dir = MakeGameDir();
    // No display at all: SDL falls back to a text-mode driver with no OpenGL.
    EXPECT_EQ(RunProcess({CAIRNFOLD_BINARY}, dir, {"DISPLAY="}, 30000), 3);

    server = StartXvfb({"-extension", "GLX"});
    ASSERT_GE(server.display, 0);
    EXPECT_EQ(RunProcess({CAIRNFOLD_BINARY}, dir, {"DISPLAY=:" + std::to_string(server.display)}, 30000), 3);
}
