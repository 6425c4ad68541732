// The game started as a process under a private X server and a fixed clock,
// checked through the save files its start-up writes or leaves alone.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
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

// The first 40 bytes of a new game's core file: version 0.3, view distance
// 10, textures on, flight off, none found, at (1250, 30, 1250), at rest.
static const Bytes NEW_GAME_HEADER = {0x9A, 0x99, 0x99, 0x3E, 10, 0, 0, 0, 1, 0, 0, 0, 0, 0,
                                      0, 0x40, 0x9C, 0x44, 0, 0, 0xF0, 0x41, 0, 0x40, 0x9C, 0x44,
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

static std::set<std::string> ListDir(const std::string& path)
{
    std::set<std::string> names;
    if (DIR* dir = opendir(path.c_str())) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.')
                names.insert(entry->d_name);
        closedir(dir);
    }
    return names;
}

// Inode, modification time and bytes: a file rewritten or replaced differs.
static std::string Identity(const std::string& path)
{
    struct stat info = {};
    stat(path.c_str(), &info);
    Bytes bytes = ReadFileBytes(path);
    return std::to_string(info.st_ino) + " " + std::to_string(info.st_mtim.tv_sec) + "." +
           std::to_string(info.st_mtim.tv_nsec) + " " + std::string(bytes.begin(), bytes.end());
}

// Whether the world file holds exactly the grid now in memory.
static bool WorldFileMatchesGrid(const Bytes& file)
{
    if (file.size() != 1875004u)
        return false;
    for (int i = 0; i < CELL_COUNT; i++)
        if (file[4 + i] != worldGrid[i].tileType || file[937504 + i] != worldGrid[i].orientation)
            return false;
    return true;
}

// A working directory for the game: Media/ from the repository, an empty
// Saves/, a small window, and a private X server.
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
        ASSERT_EQ(mkdir(saves.c_str(), 0755), 0);
        WriteFileText(dir + "/settings.ini", "screenw=320\nscreenh=240\n");
        xvfb = StartXvfb();
        ASSERT_GE(xvfb.display, 0);
    }
    void TearDown() override
    {
        if (game > 0) {  // left running by a failed test
            pid_t child = GameChild();
            if (child > 0)
                kill(child, SIGKILL);
            WaitForExit(game, 0);
        }
        StopXvfb(xvfb);
        RunProcess({"rm", "-rf", dir}, "", {}, 10000);
    }

    std::string Display() const { return "DISPLAY=:" + std::to_string(xvfb.display); }

    bool GameEnded() const
    {
        std::ifstream stat("/proc/" + std::to_string(game) + "/stat");
        std::string pid, name, state;
        stat >> pid >> name >> state;
        return !stat || state == "Z";
    }

    pid_t GameChild() const
    {
        std::string path = "/proc/" + std::to_string(game) + "/task/" + std::to_string(game) + "/children";
        pid_t child = 0;
        WaitUntil([&] { return (std::ifstream(path) >> child) && child > 0; }, 10000);
        return child;
    }

    // Starts the game under the fixed clock and waits for its window, so that
    // its quit handling is in place. On a loaded machine the preloaded clock
    // library now and then makes the first X connection fail (status 1, before
    // any file is touched); such a start is repeated.
    void StartGame()
    {
        std::string command = std::string("exec faketime -f '") + FAKE_START + "' " + CAIRNFOLD_BINARY;
        for (int attempt = 0; attempt < 3; attempt++) {
            game = SpawnProcess({"sh", "-c", command}, dir, {"TZ=UTC", Display(), "SDL_VIDEODRIVER=x11"});
            auto windowShown = [&] {
                return RunProcess({"sh", "-c", "xdotool search --name . >/dev/null 2>&1"}, "", {Display()}, 10000) == 0;
            };
            ASSERT_TRUE(WaitUntil([&] { return GameEnded() || windowShown(); }, 120000));
            if (!GameEnded())
                return;
            ASSERT_EQ(WaitForExit(game, 1000), 1) << "the game ended at start-up";
            game = -1;
        }
        FAIL() << "the game could not open its display";
    }

    // Polls for the files start-up writes, giving up if the game ends.
    bool WaitForFiles(const std::function<bool()>& written)
    {
        return WaitUntil([&] { return written() || GameEnded(); }, 300000) && written();
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

    // Saves the live state into the Saves/ folder inside `root`.
    static void SaveFilesUnder(const std::string& root)
    {
        char previous[4096];
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        ASSERT_EQ(chdir(root.c_str()), 0);
        SaveWorldGrid();
        SaveCoreState();
        ASSERT_EQ(chdir(previous), 0);
    }

    // A world from `seed` with a game in progress on it, in the run's Saves/.
    void WriteSavedGame(unsigned seed)
    {
        srand(seed);
        GenerateWorld();
        ResetGameState();
        PlaceEntities();
        gameState.collectablesFound = 17;
        gameState.position = {600.0f, 30.0f, 700.0f};
        SaveFilesUnder(dir);
    }

    // The core file of a new game on the current grid from the current state
    // of rand(), as start-up must write it.
    static Bytes NewGameCore()
    {
        std::string scratch = MakeTempDir();
        mkdir((scratch + "/Saves").c_str(), 0755);
        ResetGameState();
        PlaceEntities();
        SaveFilesUnder(scratch);
        Bytes bytes = ReadFileBytes(scratch + "/Saves/coresave.dat");
        RunProcess({"rm", "-rf", scratch}, "", {}, 10000);
        return bytes;
    }
};

TEST_F(StartupProcess, AFirstStartWritesTheSeededWorldAndANewGame)
{
    StartGame();
    ASSERT_TRUE(WaitForFiles([&] { return FileExists(saves + "/worldgrid.dat") && FileExists(saves + "/coresave.dat"); }));
    StopGame();
    EXPECT_EQ(ListDir(saves), (std::set<std::string>{"coresave.dat", "worldgrid.dat"}));

    // The world is what srand(seed) then GenerateWorld gives here, and the new
    // game's placement continues the same sequence of draws.
    srand(FAKE_SEED);
    GenerateWorld();
    EXPECT_TRUE(WorldFileMatchesGrid(ReadFileBytes(saves + "/worldgrid.dat")));
    Bytes core = ReadFileBytes(saves + "/coresave.dat");
    ASSERT_GT(core.size(), 937576u);
    EXPECT_EQ(Bytes(core.begin(), core.begin() + 40), NEW_GAME_HEADER);
    EXPECT_TRUE(core == NewGameCore());
}

TEST_F(StartupProcess, AStartWithBothFilesWritesNothing)
{
    WriteSavedGame(11);
    std::string world = Identity(saves + "/worldgrid.dat"), core = Identity(saves + "/coresave.dat");
    StartGame();
    // Start-up runs to its end before the first frame reads the quit event.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    StopGame();
    EXPECT_EQ(ListDir(saves), (std::set<std::string>{"coresave.dat", "worldgrid.dat"}));
    EXPECT_TRUE(Identity(saves + "/worldgrid.dat") == world);
    EXPECT_TRUE(Identity(saves + "/coresave.dat") == core);
}

TEST_F(StartupProcess, ACorruptedCoreFileIsKeptAsideAndANewGameBeginsInTheSameWorld)
{
    WriteSavedGame(12);
    Bytes corrupted = ReadFileBytes(saves + "/coresave.dat");
    corrupted.resize(corrupted.size() - 10);  // ends inside the last record
    std::ofstream(saves + "/coresave.dat", std::ios::binary)
        .write((const char*)corrupted.data(), (std::streamsize)corrupted.size());
    std::string world = Identity(saves + "/worldgrid.dat");

    StartGame();
    ASSERT_TRUE(WaitForFiles([&] {
        return FileExists(saves + "/coresave.dat.rejected") &&
               ReadFileBytes(saves + "/coresave.dat").size() != corrupted.size();
    }));
    StopGame();
    EXPECT_EQ(ListDir(saves), (std::set<std::string>{"coresave.dat", "coresave.dat.rejected", "worldgrid.dat"}));
    EXPECT_TRUE(Identity(saves + "/worldgrid.dat") == world);
    EXPECT_TRUE(ReadFileBytes(saves + "/coresave.dat.rejected") == corrupted);

    // The player is back at the start and the entities are placed afresh in
    // the saved world (still in memory here), with no generation draws first.
    Bytes core = ReadFileBytes(saves + "/coresave.dat");
    ASSERT_GT(core.size(), 937576u);
    EXPECT_EQ(Bytes(core.begin(), core.begin() + 40), NEW_GAME_HEADER);
    srand(FAKE_SEED);
    EXPECT_TRUE(core == NewGameCore());
}

TEST_F(StartupProcess, AMissingWorldFileMeansANewWorldAndANewGame)
{
    WriteSavedGame(13);
    remove((saves + "/worldgrid.dat").c_str());
    Bytes oldCore = ReadFileBytes(saves + "/coresave.dat");
    StartGame();
    ASSERT_TRUE(WaitForFiles(
        [&] { return FileExists(saves + "/worldgrid.dat") && ReadFileBytes(saves + "/coresave.dat") != oldCore; }));
    StopGame();
    // The old core file was sound, so it is replaced rather than kept aside.
    EXPECT_EQ(ListDir(saves), (std::set<std::string>{"coresave.dat", "worldgrid.dat"}));
    srand(FAKE_SEED);
    GenerateWorld();
    EXPECT_TRUE(WorldFileMatchesGrid(ReadFileBytes(saves + "/worldgrid.dat")));
    EXPECT_TRUE(ReadFileBytes(saves + "/coresave.dat") == NewGameCore());
}
