// The game started as a process under a private X server and a fixed clock,
// checked through the save files its start-up writes or leaves alone.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <thread>

#include "player/game_state.h"
#include "support/test_support.h"
#include "world/saves.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"

// time() at start-up under faketime, and so the seed of the game's rand().
static const char FAKE_START[] = "@2024-12-05 21:05:07";
static const unsigned FAKE_SEED = 1733432707u;

using Bytes = std::vector<unsigned char>;

static bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return done();
}

// The names in a folder, as `ls` lists them.
static std::string ListDir(const std::string& path)
{
    char names[256] = {};
    FILE* ls = popen(("ls " + path).c_str(), "r");
    fread(names, 1, sizeof names - 1, ls);
    pclose(ls);
    return names;
}

// Inode and modification time: a file rewritten or replaced differs.
static std::string Identity(const std::string& path)
{
    struct stat info = {};
    stat(path.c_str(), &info);
    return std::to_string(info.st_ino) + " " + std::to_string(info.st_mtim.tv_sec) + "." +
           std::to_string(info.st_mtim.tv_nsec);
}

// A working directory for the game (Media/ from the repository, an empty
// Saves/, a small window), a private X server, and the test's own directory
// whose Saves/ receives the files saved in-process.
class StartupProcess : public ::testing::Test {
protected:
    std::string dir, saves;
    XvfbServer xvfb = {-1, -1};
    pid_t game = -1;  // the faketime process; the game is its one child

    void SetUp() override
    {
        dir = MakeTempDir();
        saves = dir + "/Saves";
        ASSERT_EQ(symlink(CAIRNFOLD_SOURCE_DIR "/Media", (dir + "/Media").c_str()), 0);
        WriteFileText(dir + "/settings.ini", "screenw=320\nscreenh=240\n");
        for (const char* sub : {"/Saves", "/own", "/own/Saves"})
            ASSERT_EQ(mkdir((dir + sub).c_str(), 0755), 0);
        ASSERT_EQ(chdir((dir + "/own").c_str()), 0);
        xvfb = StartXvfb();
        ASSERT_GE(xvfb.display, 0);
    }
    void TearDown() override
    {
        if (game > 0) {  // left running by a failed test
            if (pid_t child = GameChild(); child > 0)
                kill(child, SIGKILL);
            WaitForExit(game, 0);
        }
        StopXvfb(xvfb);
        ASSERT_EQ(chdir("/"), 0);
        RunProcess({"rm", "-rf", dir}, "", {}, 10000);
    }

    bool GameEnded() const
    {
        siginfo_t info = {};
        return waitid(P_PID, (id_t)game, &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == game;
    }

    pid_t GameChild() const
    {
        pid_t child = 0;
        std::ifstream("/proc/" + std::to_string(game) + "/task/" + std::to_string(game) + "/children") >> child;
        return child;
    }

    // Starts the game under the fixed clock, waits for its window, so that its
    // quit handling is in place, and sends SIGTERM, which arrives as a quit
    // event: start-up runs to its end, the first frame reads the event and
    // the game ends with status 0.
    void RunGame()
    {
        std::string display = "DISPLAY=:" + std::to_string(xvfb.display);
        std::string command = std::string("exec faketime -f '") + FAKE_START + "' " + CAIRNFOLD_BINARY;
        game = SpawnProcess({"sh", "-c", command}, dir, {"TZ=UTC", display, "SDL_VIDEODRIVER=x11"});
        ASSERT_TRUE(WaitUntil([&] {
            return GameEnded() ||
                   RunProcess({"sh", "-c", "xdotool search --name . >/dev/null 2>&1"}, "", {display}, 10000) == 0;
        }, 120000));
        pid_t child = GameEnded() ? 0 : GameChild();
        ASSERT_GT(child, 0) << "the game ended at start-up";
        ASSERT_EQ(kill(child, SIGTERM), 0);
        EXPECT_EQ(WaitForExit(game, 300000), 0);
        game = -1;
    }
};

TEST_F(StartupProcess, StartUpWritesExactlyTheFilesItCouldNotRead)
{
    const std::string world = saves + "/worldgrid.dat", core = saves + "/coresave.dat";
    // A first start writes the world srand(seed) then GenerateWorld give here,
    // and a new game whose placement continues the same sequence of draws.
    ASSERT_NO_FATAL_FAILURE(RunGame());
    EXPECT_EQ(ListDir(saves), "coresave.dat\nworldgrid.dat\n");
    srand(FAKE_SEED);
    GenerateWorld();
    ResetGameState();
    PlaceEntities();
    SaveWorldGrid();
    SaveCoreState();
    const Bytes newWorld = ReadFileBytes("Saves/worldgrid.dat"), newCore = ReadFileBytes("Saves/coresave.dat");
    EXPECT_TRUE(ReadFileBytes(world) == newWorld);
    EXPECT_TRUE(ReadFileBytes(core) == newCore);

    // A second start reads both files and writes nothing.
    const std::string worldId = Identity(world), coreId = Identity(core);
    ASSERT_NO_FATAL_FAILURE(RunGame());
    EXPECT_EQ(ListDir(saves), "coresave.dat\nworldgrid.dat\n");
    EXPECT_EQ(Identity(world), worldId);
    EXPECT_EQ(Identity(core), coreId);

    // A core file ending inside its last record is kept aside; the world stays
    // and a new game begins in it, placed with no generation draws first.
    const Bytes corrupted(newCore.begin(), newCore.end() - 10);
    WriteFileText(core, std::string(corrupted.begin(), corrupted.end()));
    ASSERT_NO_FATAL_FAILURE(RunGame());
    EXPECT_EQ(ListDir(saves), "coresave.dat\ncoresave.dat.rejected\nworldgrid.dat\n");
    EXPECT_EQ(Identity(world), worldId);
    EXPECT_TRUE(ReadFileBytes(core + ".rejected") == corrupted);
    srand(FAKE_SEED);
    ResetGameState();
    PlaceEntities();
    SaveCoreState();
    const Bytes restartedCore = ReadFileBytes("Saves/coresave.dat");
    EXPECT_TRUE(ReadFileBytes(core) == restartedCore);

    // Without the world file a new world and a new game are written; the
    // sound core file is replaced, not kept aside.
    ASSERT_EQ(remove(world.c_str()), 0);
    ASSERT_NO_FATAL_FAILURE(RunGame());
    EXPECT_EQ(ListDir(saves), "coresave.dat\ncoresave.dat.rejected\nworldgrid.dat\n");
    EXPECT_TRUE(ReadFileBytes(core + ".rejected") == corrupted);
    EXPECT_TRUE(ReadFileBytes(world) == newWorld);
    EXPECT_TRUE(ReadFileBytes(core) == newCore);
    EXPECT_FALSE(restartedCore == newCore);
}
