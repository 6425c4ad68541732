// The game started as a process, under a private X server and a fixed clock,
// checked through the save files its start-up writes or leaves alone.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <set>
#include <thread>

#include "player/game_state.h"
#include "support/test_support.h"
#include "world/saves.h"
#include "world/world_grid.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"

// time() at start-up under faketime, and so the seed of the game's rand().
static const char FAKE_START[] = "@2024-12-05 21:05:07";
static const unsigned FAKE_SEED = 1733432707u;

using Bytes = std::vector<unsigned char>;

// The first 40 bytes of the core file of a new game: version 0.3, view
// distance 10, textures on, flight off, none found, at (1250, 30, 1250), at rest.
static const Bytes NEW_GAME_HEADER = {0x9A, 0x99, 0x99, 0x3E, 10, 0, 0, 0, 1, 0, 0, 0, 0, 0,
                                      0x00, 0x40, 0x9C, 0x44, 0, 0, 0xF0, 0x41, 0x00, 0x40, 0x9C, 0x44,
                                      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

static bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

static std::set<std::string> ListDir(const std::string& dir)
{
    std::set<std::string> names;
    std::string out = dir + "/../listing.txt";
    RunProcess({"sh", "-c", "ls -A '" + dir + "' > '" + out + "'"}, "", {}, 10000);
    std::ifstream in(out);
    for (std::string line; std::getline(in, line);)
        names.insert(line);
    remove(out.c_str());
    return names;
}

struct FileIdentity {
    ino_t inode;
    timespec modified;
    Bytes bytes;
};

static FileIdentity Identify(const std::string& path)
{
    struct stat info = {};
    stat(path.c_str(), &info);
    return {info.st_ino, info.st_mtim, ReadFileBytes(path)};
}

static void ExpectUnchanged(const FileIdentity& before, const std::string& path)
{
    FileIdentity after = Identify(path);
    EXPECT_EQ(after.inode, before.inode) << path;
    EXPECT_EQ(after.modified.tv_sec, before.modified.tv_sec) << path;
    EXPECT_EQ(after.modified.tv_nsec, before.modified.tv_nsec) << path;
    EXPECT_TRUE(after.bytes == before.bytes) << path;
}

// A working directory for the game: Media/ from the repository, an empty
// Saves/ and a small window.
class StartupProcess : public ::testing::Test {
protected:
    std::string dir;
    std::string saves;
    XvfbServer xvfb = {-1, -1};
    pid_t game = -1;

    void SetUp() override
    {
        dir = MakeTempDir();
        ASSERT_FALSE(dir.empty());
        saves = dir + "/Saves";
        ASSERT_EQ(symlink(CAIRNFOLD_SOURCE_DIR "/Media", (dir + "/Media").c_str()), 0);
        ASSERT_EQ(mkdir(saves.c_str(), 0755), 0);
        WriteFileText(dir + "/settings.ini", "screenw=320\nscreenh=240\n");
        xvfb = StartXvfb();
        ASSERT_GE(xvfb.display, 0);
    }
    void TearDown() override
    {
        if (game > 0) {  // a game a failed test left running
            pid_t child = GameChild();
            if (child > 0)
                kill(child, SIGKILL);
            WaitForExit(game, 0);
        }
        StopXvfb(xvfb);
        RunProcess({"rm", "-rf", dir}, "", {}, 10000);
    }

    std::string DisplayVariable() const { return "DISPLAY=:" + std::to_string(xvfb.display); }

    // True once the game has ended (a zombie waiting to be reaped), so that
    // polling for its files can stop early.
    bool GameEnded() const
    {
        std::ifstream stat("/proc/" + std::to_string(game) + "/stat");
        std::string pid, name, state;
        stat >> pid >> name >> state;
        return !stat || state == "Z";
    }

    // Polls until `done` holds, giving up early if the game ends.
    bool WaitWhileRunning(const std::function<bool()>& done, int timeoutMs) const
    {
        return WaitUntil([&] { return done() || GameEnded(); }, timeoutMs) && done();
    }

    // The exit status of a game that ended too early, for the failure message.
    std::string EarlyEnd()
    {
        if (!GameEnded())
            return "the game is still running";
        int status = WaitForExit(game, 1000);
        game = -1;
        std::ifstream err(dir + "/game.err");
        std::string text((std::istreambuf_iterator<char>(err)), std::istreambuf_iterator<char>());
        return "the game ended with status " + std::to_string(status) + ": " + text;
    }

    // Starts the game under the fixed clock and waits for its window, so that
    // its quit handling is in place. Under a loaded machine the preloaded
    // clock library now and then makes the first X connection fail (status
    // 1, before anything is read or written); such a start is repeated.
    void StartGame()
    {
        std::string command = std::string("exec faketime -f '") + FAKE_START + "' " + CAIRNFOLD_BINARY + " 2>game.err";
        for (int attempt = 0; attempt < 3; attempt++) {
            game = SpawnProcess({"sh", "-c", command}, dir, {"TZ=UTC", DisplayVariable(), "SDL_VIDEODRIVER=x11"});
            ASSERT_GT(game, 0);
            auto windowShown = [&] {
                return RunProcess({"sh", "-c", "xdotool search --name . > /dev/null 2>&1"}, "", {DisplayVariable()},
                                  10000) == 0;
            };
            ASSERT_TRUE(WaitUntil([&] { return GameEnded() || windowShown(); }, 120000)) << "no window";
            if (!GameEnded())
                return;
            int status = WaitForExit(game, 1000);
            game = -1;
            ASSERT_EQ(status, 1) << "the game ended at start-up";
        }
        FAIL() << "the game could not open its display three times";
    }

    // The game itself: faketime runs it as its one child and passes on its
    // exit status.
    pid_t GameChild() const
    {
        std::string path = "/proc/" + std::to_string(game) + "/task/" + std::to_string(game) + "/children";
        pid_t child = 0;
        WaitUntil(
            [&] {
                std::ifstream(path) >> child;
                return child > 0;
            },
            10000);
        return child;
    }

    // SIGTERM arrives as a quit event: the game ends after its frame with status 0.
    void StopGame()
    {
        pid_t child = GameChild();
        ASSERT_GT(child, 0);
        ASSERT_EQ(kill(child, SIGTERM), 0);
        EXPECT_EQ(WaitForExit(game, 60000), 0);
        game = -1;
    }

    // Writes a world made from `seed` and a new game on it to the run's Saves/.
    void WriteSavedGame(unsigned seed, int collectablesFound)
    {
        srand(seed);
        GenerateWorld();
        ResetGameState();
        PlaceEntities();
        gameState.collectablesFound = collectablesFound;
        gameState.position = {600.0f, 30.0f, 700.0f};
        gameState.yaw = 1.25f;
        SaveFilesIn(saves);
    }

    // Runs the saves of the live state into another folder's Saves/.
    static void SaveFilesIn(const std::string& savesDir)
    {
        char previous[4096];
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        ASSERT_EQ(chdir((savesDir + "/..").c_str()), 0);
        SaveWorldGrid();
        SaveCoreState();
        ASSERT_EQ(chdir(previous), 0);
    }

    // The core file of a new game on the current grid, from the current
    // state of rand(), as start-up writes it.
    static Bytes NewGameCore()
    {
        std::string scratch = MakeTempDir();
        mkdir((scratch + "/Saves").c_str(), 0755);
        ResetGameState();
        PlaceEntities();
        SaveFilesIn(scratch + "/Saves");
        Bytes bytes = ReadFileBytes(scratch + "/Saves/coresave.dat");
        RunProcess({"rm", "-rf", scratch}, "", {}, 10000);
        return bytes;
    }
};

TEST_F(StartupProcess, AFirstStartWritesTheSeededWorldAndANewGame)
{
    StartGame();
    ASSERT_TRUE(WaitWhileRunning(
        [&] { return FileExists(saves + "/worldgrid.dat") && FileExists(saves + "/coresave.dat"); }, 300000)) << EarlyEnd();
    StopGame();
    EXPECT_EQ(ListDir(saves), (std::set<std::string>{"coresave.dat", "worldgrid.dat"}));

    // The world is what srand(seed) then GenerateWorld gives in this process.
    Bytes world = ReadFileBytes(saves + "/worldgrid.dat");
    ASSERT_EQ(world.size(), 1875004u);
    srand(FAKE_SEED);
    GenerateWorld();
    int wrong = 0, firstWrong = -1;
    for (int i = 0; i < CELL_COUNT; i++)
        if (world[4 + i] != worldGrid[i].tileType || world[937504 + i] != worldGrid[i].orientation)
            if (wrong++ == 0)
                firstWrong = i;
    EXPECT_EQ(wrong, 0) << "first differing cell " << firstWrong;

    // The new game continues the same random sequence right after generation.
    Bytes core = ReadFileBytes(saves + "/coresave.dat");
    ASSERT_GT(core.size(), 937576u);
    EXPECT_EQ(Bytes(core.begin(), core.begin() + 40), NEW_GAME_HEADER);
    EXPECT_TRUE(core == NewGameCore());
}

TEST_F(StartupProcess, AStartWithBothFilesWritesNothing)
{
    WriteSavedGame(11, 17);
    std::set<std::string> before = ListDir(saves);
    FileIdentity world = Identify(saves + "/worldgrid.dat");
    FileIdentity core = Identify(saves + "/coresave.dat");
    StartGame();
    // Start-up runs to its end before the quit event is read by the first frame.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    StopGame();
    EXPECT_EQ(ListDir(saves), before);
    ExpectUnchanged(world, saves + "/worldgrid.dat");
    ExpectUnchanged(core, saves + "/coresave.dat");
}

TEST_F(StartupProcess, ACorruptedCoreFileIsKeptAsideAndANewGameBeginsInTheSameWorld)
{
    WriteSavedGame(12, 17);
    Bytes corrupted = ReadFileBytes(saves + "/coresave.dat");
    corrupted.resize(corrupted.size() - 10);  // cut inside the last entity record
    std::ofstream(saves + "/coresave.dat", std::ios::binary).write((const char*)corrupted.data(),
                                                                   (std::streamsize)corrupted.size());
    FileIdentity world = Identify(saves + "/worldgrid.dat");

    StartGame();
    ASSERT_TRUE(WaitWhileRunning(
        [&] {
            return FileExists(saves + "/coresave.dat.rejected") &&
                   ReadFileBytes(saves + "/coresave.dat").size() != corrupted.size();
        },
        120000)) << EarlyEnd();
    StopGame();
    EXPECT_EQ(ListDir(saves), (std::set<std::string>{"coresave.dat", "coresave.dat.rejected", "worldgrid.dat"}));
    ExpectUnchanged(world, saves + "/worldgrid.dat");
    EXPECT_TRUE(ReadFileBytes(saves + "/coresave.dat.rejected") == corrupted);

    // The player is back at the start, and the entities are placed afresh in
    // the saved world from the game's seed (no world was generated).
    Bytes core = ReadFileBytes(saves + "/coresave.dat");
    ASSERT_GT(core.size(), 937576u);
    EXPECT_EQ(Bytes(core.begin(), core.begin() + 40), NEW_GAME_HEADER);
    srand(FAKE_SEED);
    EXPECT_TRUE(core == NewGameCore());
}

TEST_F(StartupProcess, AMissingWorldFileMeansANewWorldAndANewGame)
{
    WriteSavedGame(13, 17);
    remove((saves + "/worldgrid.dat").c_str());
    Bytes oldCore = ReadFileBytes(saves + "/coresave.dat");
    StartGame();
    ASSERT_TRUE(WaitWhileRunning(
        [&] {
            return FileExists(saves + "/worldgrid.dat") && ReadFileBytes(saves + "/coresave.dat") != oldCore;
        },
        300000)) << EarlyEnd();
    StopGame();
    // The old core file was sound, so it is replaced, not kept aside.
    EXPECT_EQ(ListDir(saves), (std::set<std::string>{"coresave.dat", "worldgrid.dat"}));
    srand(FAKE_SEED);
    GenerateWorld();
    Bytes world = ReadFileBytes(saves + "/worldgrid.dat");
    ASSERT_EQ(world.size(), 1875004u);
    int wrong = 0;
    for (int i = 0; i < CELL_COUNT; i++)
        wrong += world[4 + i] != worldGrid[i].tileType || world[937504 + i] != worldGrid[i].orientation;
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(ReadFileBytes(saves + "/coresave.dat") == NewGameCore());
}
