#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "player/game_state.h"
#include "support/test_support.h"
#include "world/saves.h"
#include "world/world_grid.h"

// Records what operator delete is handed while watching is on, so a test can
// see which entity records a load released.
static bool watchDeletes;
static std::vector<void*>* deleted;
void* operator new(std::size_t size)
{
    void* p = malloc(size ? size : 1);
    if (!p)
        abort();
    return p;
}
static void NoteAndFree(void* p)
{
    if (watchDeletes && deleted && deleted->size() < deleted->capacity())
        deleted->push_back(p);
    free(p);
}
void operator delete(void* p) noexcept { NoteAndFree(p); }
void operator delete(void* p, std::size_t) noexcept { NoteAndFree(p); }

using Bytes = std::vector<unsigned char>;

static void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write((const char*)bytes.data(), (std::streamsize)bytes.size());
}

static Bytes Slice(const Bytes& b, size_t from, size_t count) { return Bytes(b.begin() + from, b.begin() + from + count); }

static int CountLines(const std::string& text) { return (int)std::count(text.begin(), text.end(), '\n'); }

static Entity* AddEntity(int cell, int32_t kind, float x, float y, float z, float angle, float vy, float spin)
{
    Entity* e = new Entity{kind, x, y, z, angle, 0.0f, vy, 0.0f, spin};
    FileEntity(cell, e);
    return e;
}

// Each test runs in a fresh directory with an empty Saves/.
class Saves : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override
    {
        dir = MakeTempDir();
        ASSERT_EQ(chdir(dir.c_str()), 0);
        mkdir("Saves", 0755);
    }
    void TearDown() override
    {
        ASSERT_EQ(chdir("/"), 0);
        RunProcess({"rm", "-rf", dir}, "", {}, 10000);
    }
};

TEST_F(Saves, WorldFileHoldsTheTilePlaneThenTheOrientationPlane)
{
    worldGrid[CellIndex(0, 0, 0)] = {TILE_WALL, 2};
    worldGrid[CellIndex(1, 0, 0)] = {TILE_FLOOR, 1};
    worldGrid[CellIndex(249, 14, 249)] = {TILE_BOUNDARY, 3};
    for (int i = 7; i < CELL_COUNT; i += 9973)
        worldGrid[i] = {(uint8_t)(i % 46), (uint8_t)(i % 4)};
    SaveWorldGrid();

    Bytes file = ReadFileBytes("Saves/worldgrid.dat");
    ASSERT_EQ(file.size(), 1875004u);
    EXPECT_EQ(Slice(file, 0, 4), (Bytes{0x9A, 0x99, 0x99, 0x3E}));
    EXPECT_EQ(file[4], 8);
    EXPECT_EQ(file[937504], 2);
    EXPECT_EQ(file[4 + 3750], 27);
    EXPECT_EQ(file[937504 + 3750], 1);
    EXPECT_EQ(file[937503], 1);
    EXPECT_EQ(file[1875003], 3);

    std::vector<WorldCell> saved(worldGrid, worldGrid + CELL_COUNT);
    memset(worldGrid, 0, sizeof worldGrid);
    EXPECT_TRUE(LoadWorldGrid());
    EXPECT_EQ(memcmp(saved.data(), worldGrid, sizeof worldGrid), 0);
}

TEST_F(Saves, CoreFileStoresEveryFieldAndEntityRecordsInSlotOrder)
{
    ResetGameState();
    SaveCoreState();
    Bytes empty = ReadFileBytes("Saves/coresave.dat");
    ASSERT_EQ(empty.size(), 937576u);
    EXPECT_EQ(Slice(empty, 0, 76),
              (Bytes{0x9A, 0x99, 0x99, 0x3E, 10, 0, 0, 0, 1, 0, 0, 0, 0, 0,            // version .. found
                     0, 0x40, 0x9C, 0x44, 0, 0, 0xF0, 0x41, 0, 0x40, 0x9C, 0x44,          // position
                     0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                            // velocity, flags
                     125, 0, 0, 0, 3, 0, 0, 0, 125, 0, 0, 0,                              // cell
                     0, 0x40, 0x9C, 0x44, 0, 0, 0xF0, 0x41, 0, 0x40, 0x9C, 0x44,          // eye
                     0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));                               // pitch, yaw, roll
    EXPECT_EQ(std::count(empty.begin() + 76, empty.end(), 0), 937500);

    gameState = {17, false, true, 513, {1.5f, -2.0f, 3.25f}, {0.5f, -0.25f, 0.125f}, true, true,
                 {7, -1, 300}, {4.0f, -0.0f, 1250.0f}, -0.5f, 100.0f, 0.3f};
    int a = CellIndex(0, 0, 0), b = CellIndex(3, 4, 5);
    AddEntity(a, ENTITY_LIFT, 1.5f, 30.0f, -2.0f, 0.5f, 0.075f, 0.0f);
    AddEntity(a, ENTITY_PROP, 4.0f, 100.0f, 0.125f, -0.25f, 0.0f, 0.0f);
    AddEntity(b, ENTITY_COLLECTABLE, 30.0f, 40.0f, 50.0f, 3.25f, 0.0f, 0.05f);
    SaveCoreState();
    Bytes file = ReadFileBytes("Saves/coresave.dat");
    ASSERT_EQ(file.size(), 937576u + 3 * 36);
    EXPECT_EQ(Slice(file, 0, 76),
              (Bytes{0x9A, 0x99, 0x99, 0x3E, 17, 0, 0, 0, 0, 1, 0x01, 0x02, 0, 0,
                     0, 0, 0xC0, 0x3F, 0, 0, 0, 0xC0, 0, 0, 0x50, 0x40,         // position
                     0, 0, 0, 0x3F, 0, 0, 0x80, 0xBE, 0, 0, 0, 0x3E, 1, 1,     // velocity, flags
                     7, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x2C, 0x01, 0, 0,     // cell
                     0, 0, 0x80, 0x40, 0, 0, 0, 0x80, 0, 0x40, 0x9C, 0x44,     // eye, with -0
                     0, 0, 0, 0xBF, 0, 0, 0xC8, 0x42, 0x9A, 0x99, 0x99, 0x3E}));  // pitch, yaw, roll
    // Cell 0: count 2, then the lift and the prop in slot order.
    EXPECT_EQ(Slice(file, 76, 73),
              (Bytes{2, 1, 0, 0, 0, 0, 0, 0xC0, 0x3F, 0, 0, 0xF0, 0x41, 0, 0, 0, 0xC0, 0, 0, 0, 0x3F,
                     0, 0, 0, 0, 0x9A, 0x99, 0x99, 0x3D, 0, 0, 0, 0, 0, 0, 0, 0,
                     2, 0, 0, 0, 0, 0, 0x80, 0x40, 0, 0, 0xC8, 0x42, 0, 0, 0, 0x3E, 0, 0, 0x80, 0xBE,
                     0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    size_t bAt = 76 + 72 + (size_t)b;  // cell b's count byte comes after 72 record bytes
    EXPECT_EQ(Slice(file, bAt, 5), (Bytes{1, 0, 0, 0, 0}));
    EXPECT_EQ(Slice(file, bAt + 33, 4), (Bytes{0xCD, 0xCC, 0x4C, 0x3D}));

    // Loaded over a different live state and saved again, the file comes
    // back byte for byte, so every field and record was restored in order.
    ResetGameState();
    ClearEntityIndex();
    AddEntity(CellIndex(9, 9, 9), ENTITY_PROP, 1, 2, 3, 4, 5, 6);
    ASSERT_TRUE(LoadCoreState());
    EXPECT_EQ(entityCount[CellIndex(9, 9, 9)], 0);
    EXPECT_EQ(entitySlots[a * 2]->kind, ENTITY_LIFT);
    EXPECT_EQ(entitySlots[a * 2 + 1]->kind, ENTITY_PROP);
    SaveCoreState();
    EXPECT_TRUE(ReadFileBytes("Saves/coresave.dat") == file);
}

TEST_F(Saves, RefusedFilesChangeNothing)
{
    worldGrid[CellIndex(5, 3, 5)] = {TILE_FLOOR, 2};
    ResetGameState();
    int cell = CellIndex(10, 3, 10);
    AddEntity(cell, ENTITY_LIFT, 100, 30, 100, 0, 0.075f, 0);
    SaveWorldGrid();
    SaveCoreState();
    const Bytes world = ReadFileBytes("Saves/worldgrid.dat");
    const Bytes core = ReadFileBytes("Saves/coresave.dat");
    const size_t countAt = 76 + (size_t)cell;  // the one non-zero count byte

    // Live data that differs from the files in every part a load touches.
    worldGrid[CellIndex(5, 3, 5)] = {TILE_WALL, 1};
    const std::vector<WorldCell> liveGrid(worldGrid, worldGrid + CELL_COUNT);
    gameState.collectablesFound = 99;
    Entity* liveA = entitySlots[cell * 2];
    Entity* liveB = AddEntity(CellIndex(1, 1, 1), ENTITY_PROP, 1, 2, 3, 0, 0, 0);

    auto changed = [](Bytes b, size_t at, unsigned char value) {
        b[at] = value;
        return b;
    };
    auto grown = [](Bytes b, size_t extra) {
        b.resize(b.size() + extra);
        return b;
    };
    const Bytes badWorlds[] = {
        {}, Slice(world, 0, 4), Slice(world, 0, world.size() - 1), grown(world, 1),
        changed(changed(changed(world, 0, 0xCD), 1, 0xCC), 2, 0x4C),  // version 0.2
        changed(world, 4 + CellIndex(7, 2, 9), 46),                   // tile code 46
        changed(world, 937504 + CellIndex(249, 14, 249), 4),          // orientation 4
    };
    for (const Bytes& bytes : badWorlds) {
        WriteBytes("Saves/worldgrid.dat", bytes);
        EXPECT_FALSE(LoadWorldGrid()) << bytes.size() << " bytes";
        EXPECT_TRUE(worldFileRejected);
        ASSERT_EQ(memcmp(liveGrid.data(), worldGrid, sizeof worldGrid), 0) << bytes.size() << " bytes";
    }
    const Bytes badCores[] = {
        {}, Slice(core, 0, 40), Slice(core, 0, 76),  // ends in or right after the state
        Slice(core, 0, countAt + 20),                // ends inside a record
        Slice(core, 0, core.size() - 1),             // last count byte missing
        grown(core, 1),                              // a trailing byte
        grown(changed(core, countAt, 3), 72),        // count 3, with its records
        changed(core, countAt, 2),                   // count 2: the table runs past the end
        changed(core, countAt, 0xFF),                // count -1
        changed(core, countAt + 1, 3),               // kind 3
        changed(core, countAt + 4, 0xFF),            // a negative kind
        changed(core, 0, 0x9B),                      // another version
        changed(core, 8, 2), changed(core, 39, 0x80),  // flags neither 0 nor 1
    };
    for (size_t n = 0; n < std::size(badCores); n++) {
        WriteBytes("Saves/coresave.dat", badCores[n]);
        EXPECT_FALSE(LoadCoreState()) << "case " << n;
        EXPECT_TRUE(coreFileRejected) << "case " << n;
        EXPECT_EQ(gameState.collectablesFound, 99) << "case " << n;
        ASSERT_EQ(entityCount[cell], 1) << "case " << n;
        ASSERT_EQ(entitySlots[cell * 2], liveA) << "case " << n;
        ASSERT_EQ(entitySlots[CellIndex(1, 1, 1) * 2], liveB) << "case " << n;
    }

    // A missing file is not a refused one; the sound files still load.
    remove("Saves/worldgrid.dat");
    remove("Saves/coresave.dat");
    EXPECT_FALSE(LoadWorldGrid() || worldFileRejected);
    EXPECT_FALSE(LoadCoreState() || coreFileRejected);
    WriteBytes("Saves/worldgrid.dat", world);
    WriteBytes("Saves/coresave.dat", core);
    EXPECT_TRUE(LoadWorldGrid() && LoadCoreState());
    EXPECT_EQ(worldGrid[CellIndex(5, 3, 5)].tileType, TILE_FLOOR);
    EXPECT_EQ(gameState.collectablesFound, 0);
}

TEST_F(Saves, LoadReleasesEveryRecordItReplaces)
{
    int a = CellIndex(2, 3, 4), b = CellIndex(100, 3, 100), c = CellIndex(249, 14, 249);
    // The file: two records in a, one in c, none in b.
    AddEntity(a, ENTITY_LIFT, 20, 30, 40, 0, 0.075f, 0);
    AddEntity(a, ENTITY_PROP, 21, 30, 41, 1, 0, 0);
    AddEntity(c, ENTITY_COLLECTABLE, 2490, 140, 2490, 0, 0, 0.05f);
    SaveCoreState();
    ClearEntityIndex();

    // The live index: one record in a, two in b (empty in the file), one in c.
    Entity* old[] = {AddEntity(a, ENTITY_PROP, 0, 0, 0, 0, 0, 0), AddEntity(b, ENTITY_PROP, 0, 0, 0, 0, 0, 0),
                     AddEntity(b, ENTITY_LIFT, 0, 0, 0, 0, 0, 0), AddEntity(c, ENTITY_LIFT, 0, 0, 0, 0, 0, 0)};
    std::vector<void*> released;
    released.reserve(64);
    deleted = &released;
    watchDeletes = true;
    bool loaded = LoadCoreState();
    watchDeletes = false;
    ASSERT_TRUE(loaded);
    for (Entity* e : old)
        EXPECT_NE(std::find(released.begin(), released.end(), e), released.end()) << "record not released";
    EXPECT_EQ(entityCount[a], 2);
    EXPECT_EQ(entityCount[b], 0);
    EXPECT_EQ(entityCount[c], 1);
}

TEST_F(Saves, AFailedSaveKeepsThePreviousFileAndTheGameGoesOn)
{
    worldGrid[0] = {TILE_WALL, 1};
    ResetGameState();
    SaveWorldGrid();
    SaveCoreState();
    const Bytes oldWorld = ReadFileBytes("Saves/worldgrid.dat");
    const Bytes oldCore = ReadFileBytes("Saves/coresave.dat");
    WriteFileText("Saves/coresave.dat.tmp", "half a save left by a crash");
    worldGrid[0] = {TILE_FLOOR, 3};
    gameState.collectablesFound = 4;

    // Files may grow to 100,000 bytes only, as on a nearly full disk.
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit saved, limit;
    getrlimit(RLIMIT_FSIZE, &saved);
    limit = saved;
    limit.rlim_cur = 100000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    testing::internal::CaptureStderr();
    SaveWorldGrid();
    SaveCoreState();
    std::string errors = testing::internal::GetCapturedStderr();
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(CountLines(errors), 2) << errors;
    EXPECT_NE(errors.find("Saves/worldgrid.dat"), std::string::npos);
    EXPECT_NE(errors.find("Saves/coresave.dat"), std::string::npos);
    EXPECT_EQ(ReadFileBytes("Saves/worldgrid.dat"), oldWorld);
    EXPECT_EQ(ReadFileBytes("Saves/coresave.dat"), oldCore);
    EXPECT_FALSE(FileExists("Saves/worldgrid.dat.tmp") || FileExists("Saves/coresave.dat.tmp"));
    EXPECT_EQ(worldGrid[0].tileType, TILE_FLOOR);
    EXPECT_EQ(gameState.collectablesFound, 4);

    // A save that succeeds replaces the file by renaming: a hard link to the
    // old file still shows the old bytes.
    ASSERT_EQ(link("Saves/coresave.dat", "oldcore"), 0);
    SaveCoreState();
    EXPECT_EQ(ReadFileBytes("oldcore"), oldCore);
    EXPECT_EQ(ReadFileBytes("Saves/coresave.dat")[10], 4);
    EXPECT_FALSE(FileExists("Saves/coresave.dat.tmp"));

    // Without a Saves/ folder each save writes one line and nothing else.
    ASSERT_EQ(system("rm -rf Saves"), 0);
    testing::internal::CaptureStderr();
    SaveWorldGrid();
    std::string worldError = testing::internal::GetCapturedStderr();
    testing::internal::CaptureStderr();
    SaveCoreState();
    std::string coreError = testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountLines(worldError), 1) << worldError;
    EXPECT_EQ(CountLines(coreError), 1) << coreError;
    EXPECT_FALSE(FileExists("Saves"));
    EXPECT_FALSE(LoadWorldGrid() || LoadCoreState() || worldFileRejected || coreFileRejected);
}

TEST_F(Saves, ARefusedFileIsKeptAsideWhenItIsReplaced)
{
    const Bytes badCore = {0x9A, 0x99, 0x99, 0x3E, 1, 2, 3};
    const Bytes badWorld = {0xCD, 0xCC, 0x4C, 0x3E};
    WriteBytes("Saves/coresave.dat", badCore);
    WriteBytes("Saves/worldgrid.dat", badWorld);
    EXPECT_FALSE(LoadCoreState() || LoadWorldGrid());
    EXPECT_FALSE(FileExists("Saves/coresave.dat.rejected"));  // loading alone moves nothing

    ResetGameState();
    SaveCoreState();
    SaveWorldGrid();
    EXPECT_EQ(ReadFileBytes("Saves/coresave.dat.rejected"), badCore);
    EXPECT_EQ(ReadFileBytes("Saves/worldgrid.dat.rejected"), badWorld);
    EXPECT_EQ(ReadFileBytes("Saves/coresave.dat").size(), 937576u);
    EXPECT_EQ(ReadFileBytes("Saves/worldgrid.dat").size(), 1875004u);

    // Later saves replace the good file and leave the kept one alone.
    gameState.collectablesFound = 1;
    SaveCoreState();
    EXPECT_EQ(ReadFileBytes("Saves/coresave.dat.rejected"), badCore);
    EXPECT_TRUE(LoadCoreState() && LoadWorldGrid());

    // A missing file is not refused, so nothing is set aside for it.
    remove("Saves/coresave.dat");
    remove("Saves/coresave.dat.rejected");
    EXPECT_FALSE(LoadCoreState());
    SaveCoreState();
    EXPECT_FALSE(FileExists("Saves/coresave.dat.rejected"));
}
