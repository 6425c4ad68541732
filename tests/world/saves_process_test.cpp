// Saves under the limits of a POSIX process: a full disk (a file size limit) and SIGKILL at any moment.
#include <sys/resource.h>
#include <sys/wait.h>
#include <csignal>
#include "player/game_state.h"
#include "support/test_support.h"
#include "world/saves.h"
#include "world/saves_fixture.h"

TEST_F(Saves, AFailedSaveKeepsThePreviousFileAndTheGameGoesOn)
{
    SaveBoth();
    const Bytes oldWorld = ReadFileBytes("Saves/worldgrid.dat"), oldCore = ReadFileBytes("Saves/coresave.dat");
    WriteFileText("Saves/coresave.dat.tmp", "half a save left by a crash");
    gameState.collectablesFound = 4;
    // Files may grow to 100,000 bytes only, as on a nearly full disk.
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit limit = {100000, saved.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    std::string errors = SaveBoth();
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 2) << errors;
    EXPECT_NE(errors.find("Saves/worldgrid.dat"), errors.npos) << errors;
    EXPECT_NE(errors.find("Saves/coresave.dat"), errors.npos) << errors;
    EXPECT_EQ(ReadFileBytes("Saves/worldgrid.dat"), oldWorld);
    EXPECT_EQ(ReadFileBytes("Saves/coresave.dat"), oldCore);
    EXPECT_EQ((std::vector<bool>{FileExists("Saves/worldgrid.dat.tmp"), FileExists("Saves/coresave.dat.tmp")}), (std::vector<bool>{false, false}));
}

TEST_F(Saves, KilledAtAnyMomentOfASaveTheFilesAreTheOldOrTheNewVersion)
{
    // Two versions of the game that differ in the world and the progress.
    Bytes world[2], core[2];
    for (int v = 0; v < 2; v++) {
        worldGrid[CellIndex(5, 3, 5)] = {(uint8_t)(TILE_FLOOR + v), 0};
        gameState.collectablesFound = v;
        SaveBoth();
        world[v] = ReadFileBytes("Saves/worldgrid.dat"); core[v] = ReadFileBytes("Saves/coresave.dat");
    }
    // A child saves the two versions in turn, as key 8 and taken collectables do, until killed; 300 times.
    // The kill comes at a random moment after the child says it has begun, however slowly it starts.
    srand(8);
    int killedMidSave = 0;
    for (int run = 0; run < 300; run++) {
        int begun[2];
        ASSERT_EQ(pipe(begun), 0);
        pid_t saver = fork();
        if (saver == 0) {
            if (write(begun[1], "", 1) != 1) _exit(1);
            for (int v = 0;; v ^= 1) {
                worldGrid[CellIndex(5, 3, 5)].tileType = (uint8_t)(TILE_FLOOR + v);
                gameState.collectablesFound = v;
                SaveWorldGrid(); SaveCoreState();
            }
        }
        char byte;
        ASSERT_EQ(read(begun[0], &byte, 1), 1);
        close(begun[0]); close(begun[1]);
        usleep(1000 + rand() % 15000);
        kill(saver, SIGKILL);
        waitpid(saver, nullptr, 0);
        killedMidSave += FileExists("Saves/worldgrid.dat.tmp") || FileExists("Saves/coresave.dat.tmp");
        Bytes w = ReadFileBytes("Saves/worldgrid.dat"), c = ReadFileBytes("Saves/coresave.dat");
        ASSERT_TRUE(w == world[0] || w == world[1]) << "run " << run << ": " << w.size() << " bytes";
        ASSERT_TRUE(c == core[0] || c == core[1]) << "run " << run << ": " << c.size() << " bytes";
        ASSERT_TRUE(LoadWorldGrid()) << "run " << run;
        ASSERT_TRUE(LoadCoreState()) << "run " << run;
    }
    EXPECT_GT(killedMidSave, 100) << "kills that fell inside a save";
    RecordProperty("killedMidSave", killedMidSave);  // the count the README reports
}
