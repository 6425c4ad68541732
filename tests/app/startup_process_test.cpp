// The game started as a process under a private X server and a fixed clock, checked through its saves.

#include "player/game_state.h"
#include "support/test_support.h"
#include "world/saves.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"
#include "worldgen/world_random.h"

using Bytes = std::vector<unsigned char>;

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

// Each start runs to its first frame, reads the close request and ends with status 0; `own` takes in-process saves.
TEST(StartupProcess, StartUpWritesExactlyTheFilesItCouldNotRead)
{
    const std::string dir = MakeGameFolder(), saves = dir + "/Saves", own = EnterTempDir({"Saves"});
    auto RunGame = [&] {
        GameRun run = RunGameIn(dir, FAKE_START, std::string(WAIT_FOR_WINDOW) + CLOSE_GAME);
        ASSERT_EQ(run.status, 0) << run.error;
    };
    const std::string world = saves + "/worldgrid.dat", core = saves + "/coresave.dat";
    // A first start writes the world SeedWorldRandom(seed) then GenerateWorld give, placement continuing the draws.
    RunGame();
    EXPECT_EQ(ListDir(saves), "coresave.dat\nworldgrid.dat\n");
    SeedWorldRandom(FAKE_SEED);
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
    RunGame();
    EXPECT_EQ(ListDir(saves), "coresave.dat\nworldgrid.dat\n");
    EXPECT_EQ(Identity(world), worldId);
    EXPECT_EQ(Identity(core), coreId);
    // A core file ending inside its last record is kept aside; a new game is placed in the kept world.
    const Bytes corrupted(newCore.begin(), newCore.end() - 10);
    WriteFileText(core, std::string(corrupted.begin(), corrupted.end()));
    RunGame();
    EXPECT_EQ(ListDir(saves), "coresave.dat\ncoresave.dat.rejected\nworldgrid.dat\n");
    EXPECT_EQ(Identity(world), worldId);
    EXPECT_TRUE(ReadFileBytes(core + ".rejected") == corrupted);
    SeedWorldRandom(FAKE_SEED);
    ResetGameState();
    PlaceEntities();
    SaveCoreState();
    const Bytes restartedCore = ReadFileBytes("Saves/coresave.dat");
    EXPECT_TRUE(ReadFileBytes(core) == restartedCore);
    // Without the world file a new world and game are written; the sound core file replaced is kept aside.
    ASSERT_EQ(remove(world.c_str()), 0);
    RunGame();
    EXPECT_EQ(ListDir(saves), "coresave.dat\ncoresave.dat.rejected\ncoresave.dat.replaced\nworldgrid.dat\n");
    EXPECT_TRUE(ReadFileBytes(core + ".rejected") == corrupted);
    EXPECT_TRUE(ReadFileBytes(core + ".replaced") == restartedCore);
    EXPECT_TRUE(ReadFileBytes(world) == newWorld);
    EXPECT_TRUE(ReadFileBytes(core) == newCore);
    EXPECT_FALSE(restartedCore == newCore);
    ASSERT_EQ(chdir("/"), 0);
    RunShell("/", "rm -rf " + dir + " " + own);
}

// A Saves/ the player may not write (root may write anywhere, so root plays as nobody): key 8 saves
// both files and each failure costs one line; the game plays on, ends with status 0, loses nothing.
TEST(StartupProcess, AReadOnlySavesFolderLosesNothing)
{
    const std::string dir = MakeGameFolder(), saves = dir + "/Saves";
    GameRun run = RunGameIn(dir, "", std::string(WAIT_FOR_WINDOW) + CLOSE_GAME);
    ASSERT_EQ(run.status, 0) << run.error;
    const Bytes world = ReadFileBytes(saves + "/worldgrid.dat"), core = ReadFileBytes(saves + "/coresave.dat");
    RunShell(dir, "chmod 755 . && chmod 555 Saves && cp " CAIRNFOLD_BINARY " cairnfold && mkdir -p home && "
                  "{ [ $(id -u) != 0 ] || chown -R nobody home; }");
    const char* player = geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups" : "";
    run = RunGameIn(dir, player, ". " CAIRNFOLD_SOURCE_DIR "/tests/support/game_input.sh; xdotool keydown 8; "
                    "upto 60 grep -q coresave err; xdotool keyup 8;" + std::string(CLOSE_GAME), 120, "./cairnfold");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.error, "cairnfold: could not save Saves/worldgrid.dat (create: Permission denied)\n"
                         "cairnfold: could not save Saves/coresave.dat (create: Permission denied)");
    EXPECT_EQ(ListDir(saves), "coresave.dat\nworldgrid.dat\n");
    EXPECT_TRUE(ReadFileBytes(saves + "/worldgrid.dat") == world);
    EXPECT_TRUE(ReadFileBytes(saves + "/coresave.dat") == core);
    RunShell("/", "rm -rf " + dir);
}
