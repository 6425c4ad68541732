#include "player/game_state.h"
#include "support/test_support.h"
#include "world/saves.h"
#include "world/saves_fixture.h"

static void WriteBytes(const char* path, const Bytes& b) { WriteFileText(path, std::string(b.begin(), b.end())); }
static Bytes Slice(const Bytes& b, size_t from, size_t count) { return Bytes(b.begin() + from, b.begin() + from + count); }

static Entity* Add(int cell, const Entity& fields) { Entity* e = new Entity(fields); FileEntity(cell, e); return e; }
static Bytes Changed(Bytes b, size_t at, unsigned char value) { b[at] = value; return b; }
static Bytes Grown(Bytes b, size_t extra) { b.resize(b.size() + extra); return b; }

TEST_F(Saves, CoreFileStoresEveryFieldAndEntityRecordsInSlotOrder)
{
    SaveCoreState();
    Bytes empty = ReadFileBytes("Saves/coresave.dat");
    ASSERT_EQ(empty.size(), 937576u);
    EXPECT_EQ(std::count(empty.begin() + 76, empty.end(), 0), 937500);
    gameState = {17, false, true, 513, {1.5f, -2.0f, 3.25f}, {0.5f, -0.25f, 0.125f}, true, false,
                 {7, -1, 300}, {4.0f, -0.0f, 1250.0f}, -0.5f, 100.0f, 0.3f};
    int a = CellIndex(0, 0, 0), b = CellIndex(3, 4, 5), c = CellIndex(9, 9, 9);
    Add(a, {ENTITY_LIFT, 1.5f, 30.0f, -2.0f, 0.5f, 0.25f, 0.075f, -1.0f, 2.0f});
    Add(a, {ENTITY_PROP, 4.0f, 100.0f, 0.125f, -0.25f, 0, 0, 0, 0});
    Add(b, {ENTITY_COLLECTABLE, 30.0f, 40.0f, 50.0f, 3.25f, 0, 0, 0, 0.05f});
    SaveCoreState();
    Bytes file = ReadFileBytes("Saves/coresave.dat");
    ASSERT_EQ(file.size(), 937576u + 3 * 36);
    EXPECT_EQ(Slice(file, 0, 76), (Bytes{0x9A, 0x99, 0x99, 0x3E, 17, 0, 0, 0, 0, 1, 0x01, 0x02, 0, 0,
                     0, 0, 0xC0, 0x3F, 0, 0, 0, 0xC0, 0, 0, 0x50, 0x40,         // position
                     0, 0, 0, 0x3F, 0, 0, 0x80, 0xBE, 0, 0, 0, 0x3E, 1, 0,     // velocity, flags
                     7, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x2C, 0x01, 0, 0,     // cell
                     0, 0, 0x80, 0x40, 0, 0, 0, 0x80, 0, 0x40, 0x9C, 0x44,     // eye, with -0
                     0, 0, 0, 0xBF, 0, 0, 0xC8, 0x42, 0x9A, 0x99, 0x99, 0x3E}));  // pitch, yaw, roll
    // Cell a: count 2, the lift's nine fields (signed, fractional), then the prop.
    EXPECT_EQ(Slice(file, 76, 38), (Bytes{2, 1, 0, 0, 0, 0, 0, 0xC0, 0x3F, 0, 0, 0xF0, 0x41, 0, 0, 0, 0xC0, 0, 0,
                                          0, 0x3F, 0, 0, 0x80, 0x3E, 0x9A, 0x99, 0x99, 0x3D, 0, 0, 0x80, 0xBF, 0, 0, 0, 0x40, 2}));
    // Loaded over other live data and saved again, the file comes back byte for byte; the records it
    // replaces, also in a cell the file leaves empty, go (the sanitized run reports one lost or freed twice).
    ResetGameState();
    ClearEntityIndex();
    for (int cell : {a, c, c}) Add(cell, {});
    EXPECT_TRUE(LoadCoreState());
    EXPECT_EQ(entityCount[c], 0);
    SaveCoreState();
    EXPECT_TRUE(ReadFileBytes("Saves/coresave.dat") == file);
}

TEST_F(Saves, RefusedFilesChangeNothingAndAreKeptAsideWhenReplaced)
{
    worldGrid[CellIndex(5, 3, 5)] = {TILE_FLOOR, 2};
    int cell = CellIndex(10, 3, 10);
    Add(cell, {ENTITY_LIFT, 100, 30, 100, 0, 0, 0.075f, 0, 0});
    SaveBoth();
    const Bytes world = ReadFileBytes("Saves/worldgrid.dat"), core = ReadFileBytes("Saves/coresave.dat");
    const size_t countAt = 76 + (size_t)cell;  // the one non-zero count byte
    // Live data that differs from the files in every part a load touches.
    worldGrid[CellIndex(5, 3, 5)] = {TILE_WALL, 1};
    const std::vector<WorldCell> liveGrid(worldGrid, worldGrid + CELL_COUNT);
    gameState.collectablesFound = 99;
    Entity* liveA = EntitySlot(cell, 0);
    Entity* liveB = Add(CellIndex(1, 1, 1), {ENTITY_PROP, 1, 2, 3, 0, 0, 0, 0, 0});
    const Bytes badWorlds[] = {
        {}, Slice(world, 0, 4), Slice(world, 0, world.size() - 1), Grown(world, 1),
        Changed(Changed(Changed(world, 0, 0xCD), 1, 0xCC), 2, 0x4C),  // version 0.2
        Changed(world, 4 + CellIndex(7, 2, 9), 46),                   // tile code 46
        Changed(world, 937504 + CellIndex(249, 14, 249), 4),          // orientation 4
    };
    for (size_t n = 0; n < std::size(badWorlds); n++) {
        SCOPED_TRACE(n);
        WriteBytes("Saves/worldgrid.dat", badWorlds[n]);
        EXPECT_FALSE(LoadWorldGrid());
        EXPECT_TRUE(worldFileRejected);
        ASSERT_EQ(memcmp(liveGrid.data(), worldGrid, sizeof worldGrid), 0);
    }
    const Bytes badCores[] = {
        {}, Slice(core, 0, 40), Slice(core, 0, 76),    // ends in or right after the state
        Slice(core, 0, countAt + 20),                  // ends inside a record
        Slice(core, 0, core.size() - 1),               // last count byte missing
        Grown(core, 1),                                // a trailing byte
        Grown(Changed(core, countAt, 3), 72),          // count 3, with its records
        Changed(core, countAt, 2),                     // count 2: the table runs past the end
        Changed(core, countAt, 0xFF),                  // count -1
        Changed(core, countAt + 1, 3),                 // kind 3
        Changed(core, countAt + 4, 0xFF),              // a negative kind
        Changed(core, 0, 0x9B),                        // another version
        Changed(core, 8, 2), Changed(core, 39, 0x80),  // flags neither 0 nor 1
    };
    for (size_t n = 0; n < std::size(badCores); n++) {
        SCOPED_TRACE(n);
        WriteBytes("Saves/coresave.dat", badCores[n]);
        EXPECT_FALSE(LoadCoreState());
        EXPECT_TRUE(coreFileRejected);
        EXPECT_EQ(gameState.collectablesFound, 99);
        ASSERT_EQ(entityCount[cell], 1);
        ASSERT_EQ(EntitySlot(cell, 0), liveA);
        ASSERT_EQ(EntitySlot(CellIndex(1, 1, 1), 0), liveB);
    }
    // Loading alone moves nothing; the next save keeps the last refused file aside, later ones leave it.
    EXPECT_EQ((std::vector<bool>{FileExists("Saves/worldgrid.dat.rejected"), FileExists("Saves/coresave.dat.rejected")}), (std::vector<bool>{false, false}));
    worldGrid[CellIndex(249, 14, 249)] = {TILE_BOUNDARY, 3};
    const std::vector<WorldCell> saved(worldGrid, worldGrid + CELL_COUNT);
    SaveBoth(); SaveCoreState();
    EXPECT_EQ(ReadFileBytes("Saves/worldgrid.dat.rejected"), badWorlds[std::size(badWorlds) - 1]);
    EXPECT_EQ(ReadFileBytes("Saves/coresave.dat.rejected"), badCores[std::size(badCores) - 1]);
    memset(worldGrid, 0, sizeof worldGrid);  // a sound file loads back cell for cell
    EXPECT_EQ((std::vector<bool>{LoadWorldGrid(), LoadCoreState()}), (std::vector<bool>{true, true}));
    EXPECT_EQ(memcmp(saved.data(), worldGrid, sizeof worldGrid), 0);
    // A later refusal never replaces one kept earlier: it takes the next number.
    for (int n = 1; n <= 2; n++) {
        WriteBytes("Saves/coresave.dat", badCores[n]);
        EXPECT_FALSE(LoadCoreState());
        SaveCoreState();
        EXPECT_EQ(ReadFileBytes("Saves/coresave.dat.rejected." + std::to_string(n)), badCores[n]);
    }
    EXPECT_EQ(ReadFileBytes("Saves/coresave.dat.rejected"), badCores[std::size(badCores) - 1]);
}

TEST_F(Saves, AMissingSavesFolderIsMadeAgainAndOneThatCannotBeMadeCostsALineASave)
{
    // A deleted Saves/ is made again by the next save, silently; one that cannot be made (a file
    // holds its name) costs a line a save.
    std::filesystem::remove_all("Saves");
    EXPECT_EQ(SaveBoth(), "");
    EXPECT_EQ((std::vector<bool>{LoadWorldGrid(), LoadCoreState()}), (std::vector<bool>{true, true}));
    std::filesystem::remove_all("Saves");
    WriteFileText("Saves", "");
    std::string errors = SaveBoth();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 2) << errors;
    EXPECT_EQ(errors.rfind("cairnfold: could not save Saves/worldgrid.dat", 0), 0u) << errors;
    EXPECT_NE(errors.find("\ncairnfold: could not save Saves/coresave.dat"), errors.npos) << errors;
}
