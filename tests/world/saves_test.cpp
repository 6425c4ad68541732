#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <vector>

#include "player/game_state.h"
#include "support/test_support.h"
#include "world/saves.h"
#include "world/world_grid.h"

// Records the pointers handed to operator delete while watching is on, so a
// test can see which entity records a load released.
static bool watchDeletes;
static void* deletedPointers[64];
static int deletedCount;

static void NoteDelete(void* p)
{
    if (watchDeletes && deletedCount < 64)
        deletedPointers[deletedCount++] = p;
}
void* operator new(std::size_t size)
{
    void* p = malloc(size ? size : 1);
    if (!p)
        abort();
    return p;
}
void operator delete(void* p) noexcept
{
    NoteDelete(p);
    free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    NoteDelete(p);
    free(p);
}

static bool WasDeleted(const void* p)
{
    for (int i = 0; i < deletedCount; i++)
        if (deletedPointers[i] == p)
            return true;
    return false;
}

using Bytes = std::vector<unsigned char>;

static void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write((const char*)bytes.data(), (std::streamsize)bytes.size());
}

static uint32_t Bits(float f)
{
    uint32_t b;
    memcpy(&b, &f, 4);
    return b;
}

static int CountLines(const std::string& text)
{
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

// Each test runs in a fresh directory; most of them with an empty Saves/.
class Saves : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override
    {
        dir = MakeTempDir();
        ASSERT_FALSE(dir.empty());
        ASSERT_EQ(chdir(dir.c_str()), 0);
        mkdir("Saves", 0755);
    }
    void TearDown() override
    {
        ASSERT_EQ(chdir("/"), 0);
        RunProcess({"rm", "-rf", dir}, "", {}, 10000);
    }
};

static Entity* AddEntity(int cell, int32_t kind, float x, float y, float z, float angle, float vy, float spin)
{
    Entity* e = new Entity{kind, x, y, z, angle, 0.0f, vy, 0.0f, spin};
    FileEntity(cell, e);
    return e;
}

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
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{0x9A, 0x99, 0x99, 0x3E}));
    EXPECT_EQ(file[4], 8);
    EXPECT_EQ(file[937504], 2);
    EXPECT_EQ(file[4 + 3750], 27);
    EXPECT_EQ(file[937504 + 3750], 1);
    EXPECT_EQ(file[937503], 1);
    EXPECT_EQ(file[1875003], 3);
    EXPECT_FALSE(FileExists("Saves/worldgrid.dat.tmp"));

    std::vector<WorldCell> saved(worldGrid, worldGrid + CELL_COUNT);
    memset(worldGrid, 0, sizeof worldGrid);
    EXPECT_TRUE(LoadWorldGrid());
    EXPECT_EQ(memcmp(saved.data(), worldGrid, sizeof worldGrid), 0);
}

TEST_F(Saves, CoreFileOfANewGameWithNoEntitiesIs937576Bytes)
{
    ResetGameState();
    SaveCoreState();
    Bytes file = ReadFileBytes("Saves/coresave.dat");
    ASSERT_EQ(file.size(), 937576u);
    const Bytes header = {
        0x9A, 0x99, 0x99, 0x3E,                          // version 0.3
        10, 0, 0, 0,                                     // viewDistance
        1, 0,                                            // texturesEnabled, flyMode
        0, 0, 0, 0,                                      // collectablesFound
        0x00, 0x40, 0x9C, 0x44, 0x00, 0x00, 0xF0, 0x41,  // position 1250, 30,
        0x00, 0x40, 0x9C, 0x44,                          //   1250
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,              // velocity
        0, 0,                                            // onGround, jumping
        125, 0, 0, 0, 3, 0, 0, 0, 125, 0, 0, 0,          // cell
        0x00, 0x40, 0x9C, 0x44, 0x00, 0x00, 0xF0, 0x41,  // eye 1250, 30,
        0x00, 0x40, 0x9C, 0x44,                          //   1250
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,              // pitch, yaw, roll
    };
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 76), header);
    for (size_t i = 76; i < file.size(); i++)
        ASSERT_EQ(file[i], 0) << "count byte at " << i;
}

TEST_F(Saves, CoreFileStoresEveryFieldAndEntityRecordsInSlotOrder)
{
    gameState = {17, false, true, 513, {1.5f, -2.0f, 3.25f}, {0.5f, -0.25f, 0.125f}, true, true,
                 {7, -1, 300}, {4.0f, -0.0f, 1250.0f}, -0.5f, 100.0f, 0.3f};
    int a = CellIndex(0, 0, 0), b = CellIndex(3, 4, 5);
    AddEntity(a, ENTITY_LIFT, 1.5f, 30.0f, -2.0f, 0.5f, 0.075f, 0.0f);
    AddEntity(a, ENTITY_PROP, 4.0f, 100.0f, 0.125f, -0.25f, 0.0f, 0.0f);
    AddEntity(b, ENTITY_COLLECTABLE, 30.0f, 40.0f, 50.0f, 3.25f, 0.0f, 0.05f);
    SaveCoreState();

    Bytes file = ReadFileBytes("Saves/coresave.dat");
    ASSERT_EQ(file.size(), 937576u + 3 * 36);
    const Bytes header = {
        0x9A, 0x99, 0x99, 0x3E, 17, 0, 0, 0, 0, 1, 0x01, 0x02, 0, 0,
        0, 0, 0xC0, 0x3F, 0, 0, 0, 0xC0, 0, 0, 0x50, 0x40,  // position
        0, 0, 0, 0x3F, 0, 0, 0x80, 0xBE, 0, 0, 0, 0x3E,     // velocity
        1, 1,                                               // onGround, jumping
        7, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x2C, 0x01, 0, 0,  // cell
        0, 0, 0x80, 0x40, 0, 0, 0, 0x80, 0, 0x40, 0x9C, 0x44,  // eye, with -0
        0, 0, 0, 0xBF, 0, 0, 0xC8, 0x42, 0x9A, 0x99, 0x99, 0x3E,  // pitch, yaw, roll
    };
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 76), header);
    // Cell 0: count 2, then the lift and the prop in slot order.
    const Bytes cellA = {
        2,
        1, 0, 0, 0, 0, 0, 0xC0, 0x3F, 0, 0, 0xF0, 0x41, 0, 0, 0, 0xC0,  // lift kind, x, y, z
        0, 0, 0, 0x3F, 0, 0, 0, 0, 0x9A, 0x99, 0x99, 0x3D, 0, 0, 0, 0, 0, 0, 0, 0,
        2, 0, 0, 0, 0, 0, 0x80, 0x40, 0, 0, 0xC8, 0x42, 0, 0, 0, 0x3E,  // prop kind, x, y, z
        0, 0, 0x80, 0xBE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    };
    EXPECT_EQ(Bytes(file.begin() + 76, file.begin() + 76 + 73), cellA);
    size_t bAt = 76 + 72 + (size_t)b;  // the count byte of cell b follows 72 record bytes
    EXPECT_EQ(file[bAt], 1);
    EXPECT_EQ(Bytes(file.begin() + bAt + 1, file.begin() + bAt + 5), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Bytes(file.begin() + bAt + 33, file.begin() + bAt + 37), (Bytes{0xCD, 0xCC, 0x4C, 0x3D}));

    // Loading over a different live state brings back every field and record.
    GameState saved = gameState;
    ResetGameState();
    ClearEntityIndex();
    AddEntity(CellIndex(9, 9, 9), ENTITY_PROP, 1, 2, 3, 4, 5, 6);
    ASSERT_TRUE(LoadCoreState());
    EXPECT_EQ(gameState.viewDistance, 17);
    EXPECT_FALSE(gameState.texturesEnabled);
    EXPECT_TRUE(gameState.flyMode);
    EXPECT_EQ(gameState.collectablesFound, 513);
    const float* want[] = {&saved.position.x, &saved.position.y, &saved.position.z, &saved.velocity.x,
                           &saved.velocity.y, &saved.velocity.z, &saved.eye.x,      &saved.eye.y,
                           &saved.eye.z,      &saved.pitch,      &saved.yaw,        &saved.roll};
    const float* got[] = {&gameState.position.x, &gameState.position.y, &gameState.position.z,
                          &gameState.velocity.x, &gameState.velocity.y, &gameState.velocity.z,
                          &gameState.eye.x,      &gameState.eye.y,      &gameState.eye.z,
                          &gameState.pitch,      &gameState.yaw,        &gameState.roll};
    for (int i = 0; i < 12; i++)
        EXPECT_EQ(Bits(*got[i]), Bits(*want[i])) << "float field " << i;
    EXPECT_TRUE(gameState.onGround);
    EXPECT_TRUE(gameState.jumping);
    EXPECT_EQ(gameState.cell.x, 7);
    EXPECT_EQ(gameState.cell.y, -1);
    EXPECT_EQ(gameState.cell.z, 300);

    EXPECT_EQ(entityCount[CellIndex(9, 9, 9)], 0);
    ASSERT_EQ(entityCount[a], 2);
    ASSERT_EQ(entityCount[b], 1);
    const Entity& lift = *entitySlots[a * 2];
    const Entity& prop = *entitySlots[a * 2 + 1];
    const Entity& coin = *entitySlots[b * 2];
    EXPECT_EQ(lift.kind, ENTITY_LIFT);
    EXPECT_EQ(Bits(lift.velocityY), Bits(0.075f));
    EXPECT_EQ(Bits(lift.z), Bits(-2.0f));
    EXPECT_EQ(prop.kind, ENTITY_PROP);
    EXPECT_EQ(Bits(prop.y), Bits(100.0f));
    EXPECT_EQ(Bits(prop.angle), Bits(-0.25f));
    EXPECT_EQ(coin.kind, ENTITY_COLLECTABLE);
    EXPECT_EQ(Bits(coin.spinRate), Bits(0.05f));
    EXPECT_EQ(Bits(coin.angle), Bits(3.25f));
    int total = 0;
    for (int i = 0; i < CELL_COUNT; i++)
        total += entityCount[i];
    EXPECT_EQ(total, 3);
}

TEST_F(Saves, RefusedWorldFilesChangeNothing)
{
    worldGrid[CellIndex(5, 3, 5)] = {TILE_FLOOR, 2};
    SaveWorldGrid();
    const Bytes good = ReadFileBytes("Saves/worldgrid.dat");
    worldGrid[CellIndex(5, 3, 5)] = {TILE_WALL, 1};
    std::vector<WorldCell> live(worldGrid, worldGrid + CELL_COUNT);

    Bytes shortFile(good.begin(), good.end() - 1);
    Bytes longFile = good;
    longFile.push_back(0);
    Bytes oldVersion = good;
    oldVersion[0] = 0xCD;  // 0.2f is CD CC 4C 3E
    oldVersion[1] = 0xCC;
    oldVersion[2] = 0x4C;
    Bytes badTile = good;
    badTile[4 + CellIndex(7, 2, 9)] = 46;
    Bytes badOrientation = good;
    badOrientation[937504 + CellIndex(249, 14, 249)] = 4;
    const Bytes cases[] = {Bytes{}, Bytes(good.begin(), good.begin() + 4), shortFile, longFile,
                           oldVersion, badTile, badOrientation};
    for (const Bytes& bytes : cases) {
        WriteBytes("Saves/worldgrid.dat", bytes);
        worldFileRejected = false;
        EXPECT_FALSE(LoadWorldGrid()) << bytes.size() << " bytes";
        EXPECT_TRUE(worldFileRejected);
        ASSERT_EQ(memcmp(live.data(), worldGrid, sizeof worldGrid), 0) << bytes.size() << " bytes";
    }

    remove("Saves/worldgrid.dat");
    EXPECT_FALSE(LoadWorldGrid());
    EXPECT_FALSE(worldFileRejected);
    WriteBytes("Saves/worldgrid.dat", good);
    EXPECT_TRUE(LoadWorldGrid());
    EXPECT_EQ(worldGrid[CellIndex(5, 3, 5)].tileType, TILE_FLOOR);
    EXPECT_EQ(worldGrid[CellIndex(5, 3, 5)].orientation, 2);
}

TEST_F(Saves, RefusedCoreFilesChangeNothing)
{
    ResetGameState();
    int cell = CellIndex(10, 3, 10);
    AddEntity(cell, ENTITY_LIFT, 100, 30, 100, 0, 0.075f, 0);
    SaveCoreState();
    const Bytes good = ReadFileBytes("Saves/coresave.dat");
    ASSERT_EQ(good.size(), 937576u + 36);
    const size_t countAt = 76 + (size_t)cell;  // the only non-zero count byte

    // Live state differs from the file in every part a load would touch.
    gameState.collectablesFound = 99;
    gameState.position = {5, 6, 7};
    Entity* liveA = entitySlots[cell * 2];
    Entity* liveB = AddEntity(CellIndex(1, 1, 1), ENTITY_PROP, 1, 2, 3, 0, 0, 0);

    auto withByte = [&](size_t at, unsigned char value) {
        Bytes b = good;
        b[at] = value;
        return b;
    };
    Bytes trailing = good;
    trailing.push_back(0);
    Bytes countThree = good;  // count 3 with a third record present
    countThree[countAt] = 3;
    countThree.insert(countThree.end(), 72, 0);
    Bytes extraCount = good;  // count 2 where one record is stored: the table overruns the end
    extraCount[countAt] = 2;
    const Bytes cases[] = {
        Bytes{},
        Bytes(good.begin(), good.begin() + 40),       // ends in the header
        Bytes(good.begin(), good.begin() + 76),       // header only
        Bytes(good.begin(), good.begin() + countAt + 20),  // ends inside a record
        Bytes(good.begin(), good.end() - 1),          // last count byte missing
        trailing,
        countThree,
        extraCount,
        withByte(countAt, 0xFF),                      // -1 as a signed count
        withByte(countAt + 1, 3),                     // kind 3
        withByte(countAt + 4, 0xFF),                  // a negative kind
        withByte(0, 0x9B),                            // another version
        withByte(8, 2),                               // texturesEnabled neither 0 nor 1
        withByte(39, 0x80),                           // jumping neither 0 nor 1
    };
    int caseNumber = 0;
    for (const Bytes& bytes : cases) {
        WriteBytes("Saves/coresave.dat", bytes);
        coreFileRejected = false;
        EXPECT_FALSE(LoadCoreState()) << "case " << caseNumber;
        EXPECT_TRUE(coreFileRejected) << "case " << caseNumber;
        EXPECT_EQ(gameState.collectablesFound, 99) << "case " << caseNumber;
        EXPECT_EQ(gameState.position.x, 5.0f) << "case " << caseNumber;
        ASSERT_EQ(entityCount[cell], 1) << "case " << caseNumber;
        ASSERT_EQ(entitySlots[cell * 2], liveA) << "case " << caseNumber;
        ASSERT_EQ(entityCount[CellIndex(1, 1, 1)], 1) << "case " << caseNumber;
        ASSERT_EQ(entitySlots[CellIndex(1, 1, 1) * 2], liveB) << "case " << caseNumber;
        caseNumber++;
    }

    remove("Saves/coresave.dat");
    EXPECT_FALSE(LoadCoreState());
    EXPECT_FALSE(coreFileRejected);
    WriteBytes("Saves/coresave.dat", good);
    EXPECT_TRUE(LoadCoreState());
    EXPECT_EQ(gameState.collectablesFound, 0);
    EXPECT_EQ(entityCount[CellIndex(1, 1, 1)], 0);
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

    // The live index: one record in a, two in b (whose count in the file is 0), one in c.
    Entity* old[] = {AddEntity(a, ENTITY_PROP, 0, 0, 0, 0, 0, 0), AddEntity(b, ENTITY_PROP, 0, 0, 0, 0, 0, 0),
                     AddEntity(b, ENTITY_LIFT, 0, 0, 0, 0, 0, 0), AddEntity(c, ENTITY_LIFT, 0, 0, 0, 0, 0, 0)};
    deletedCount = 0;
    watchDeletes = true;
    bool loaded = LoadCoreState();
    watchDeletes = false;
    ASSERT_TRUE(loaded);
    for (Entity* e : old)
        EXPECT_TRUE(WasDeleted(e)) << "record " << e << " was not released";
    EXPECT_EQ(entityCount[a], 2);
    EXPECT_EQ(entityCount[b], 0);
    EXPECT_EQ(entityCount[c], 1);
    EXPECT_EQ(entitySlots[a * 2]->kind, ENTITY_LIFT);
    EXPECT_EQ(entitySlots[a * 2 + 1]->kind, ENTITY_PROP);
    EXPECT_EQ(entitySlots[c * 2]->kind, ENTITY_COLLECTABLE);
}

TEST_F(Saves, SavesReplaceTheOldFileWholeByRenaming)
{
    worldGrid[0] = {TILE_WALL, 1};
    SaveWorldGrid();
    SaveCoreState();
    const Bytes oldWorld = ReadFileBytes("Saves/worldgrid.dat");
    const Bytes oldCore = ReadFileBytes("Saves/coresave.dat");
    // A hard link keeps the old file's inode: a save that truncated and
    // rewrote the file in place would change what the link shows.
    ASSERT_EQ(link("Saves/worldgrid.dat", "oldworld"), 0);
    ASSERT_EQ(link("Saves/coresave.dat", "oldcore"), 0);
    // A temporary file left behind by a crash is simply overwritten.
    WriteFileText("Saves/coresave.dat.tmp", "half a save");

    worldGrid[0] = {TILE_FLOOR, 3};
    gameState.collectablesFound = 4;
    SaveWorldGrid();
    SaveCoreState();
    EXPECT_EQ(ReadFileBytes("oldworld"), oldWorld);
    EXPECT_EQ(ReadFileBytes("oldcore"), oldCore);
    EXPECT_EQ(ReadFileBytes("Saves/worldgrid.dat")[4], TILE_FLOOR);
    EXPECT_EQ(ReadFileBytes("Saves/coresave.dat")[10], 4);
    EXPECT_FALSE(FileExists("Saves/worldgrid.dat.tmp"));
    EXPECT_FALSE(FileExists("Saves/coresave.dat.tmp"));
}

TEST_F(Saves, ASaveThatRunsOutOfSpaceKeepsThePreviousFile)
{
    SaveWorldGrid();
    ResetGameState();
    SaveCoreState();
    const Bytes oldWorld = ReadFileBytes("Saves/worldgrid.dat");
    const Bytes oldCore = ReadFileBytes("Saves/coresave.dat");

    // Files may grow to 100,000 bytes only, as on a nearly full disk.
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit saved, limit;
    getrlimit(RLIMIT_FSIZE, &saved);
    limit = saved;
    limit.rlim_cur = 100000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    worldGrid[0] = {TILE_FLOOR, 3};
    gameState.collectablesFound = 4;
    testing::internal::CaptureStderr();
    SaveWorldGrid();
    std::string worldError = testing::internal::GetCapturedStderr();
    testing::internal::CaptureStderr();
    SaveCoreState();
    std::string coreError = testing::internal::GetCapturedStderr();
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(CountLines(worldError), 1) << worldError;
    EXPECT_NE(worldError.find("Saves/worldgrid.dat"), std::string::npos);
    EXPECT_EQ(CountLines(coreError), 1) << coreError;
    EXPECT_NE(coreError.find("Saves/coresave.dat"), std::string::npos);
    EXPECT_EQ(ReadFileBytes("Saves/worldgrid.dat"), oldWorld);
    EXPECT_EQ(ReadFileBytes("Saves/coresave.dat"), oldCore);
    EXPECT_FALSE(FileExists("Saves/worldgrid.dat.tmp"));
    EXPECT_FALSE(FileExists("Saves/coresave.dat.tmp"));
    // The game goes on with its live state as it was.
    EXPECT_EQ(worldGrid[0].tileType, TILE_FLOOR);
    EXPECT_EQ(gameState.collectablesFound, 4);
}

TEST_F(Saves, WithoutASavesFolderSavesReportOneLineAndLoadsFindNothing)
{
    ASSERT_EQ(rmdir("Saves"), 0);
    testing::internal::CaptureStderr();
    SaveWorldGrid();
    std::string worldError = testing::internal::GetCapturedStderr();
    testing::internal::CaptureStderr();
    SaveCoreState();
    std::string coreError = testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountLines(worldError), 1) << worldError;
    EXPECT_EQ(CountLines(coreError), 1) << coreError;
    EXPECT_FALSE(FileExists("Saves"));

    EXPECT_FALSE(LoadWorldGrid());
    EXPECT_FALSE(LoadCoreState());
    EXPECT_FALSE(worldFileRejected);
    EXPECT_FALSE(coreFileRejected);
}

TEST_F(Saves, ARefusedFileIsKeptAsideWhenItIsReplaced)
{
    const Bytes badCore = {0x9A, 0x99, 0x99, 0x3E, 1, 2, 3};
    const Bytes badWorld = {0xCD, 0xCC, 0x4C, 0x3E};
    WriteBytes("Saves/coresave.dat", badCore);
    WriteBytes("Saves/worldgrid.dat", badWorld);
    EXPECT_FALSE(LoadCoreState());
    EXPECT_FALSE(LoadWorldGrid());
    // Loading alone moves nothing.
    EXPECT_FALSE(FileExists("Saves/coresave.dat.rejected"));
    EXPECT_EQ(ReadFileBytes("Saves/coresave.dat"), badCore);

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
    EXPECT_TRUE(LoadCoreState());
    EXPECT_TRUE(LoadWorldGrid());

    // A missing file is not refused, so nothing is set aside for it.
    remove("Saves/coresave.dat");
    remove("Saves/coresave.dat.rejected");
    EXPECT_FALSE(LoadCoreState());
    SaveCoreState();
    EXPECT_FALSE(FileExists("Saves/coresave.dat.rejected"));
}
