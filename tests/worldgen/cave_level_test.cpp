#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "worldgen/cave_level.h"
#include "worldgen/channels.h"
#include "worldgen/floors_interiors.h"
#include "worldgen/generate_world.h"
#include "worldgen/room_level.h"

namespace {

WorldCell& At(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)]; }
int Tile(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)].tileType; }
int Turn(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)].orientation; }
void ClearGrid() { memset(worldGrid, 0, sizeof worldGrid); }
bool IsOpenCave(int t) { return t == TILE_CAVE_FLOOR || t == TILE_CAVE_OPEN_CENTRE; }

// The steps after the wall lines, which draw nothing.
void FinishCaveWithoutWallLines()
{
    FillCaveFloor();
    ClearDescentMarkers();
    ReopenEntranceFronts();
    ClearCaveBorder();
    MarkCaveReach();
    PruneUnreachedCave();
    ClassifyCaveWalls();
    MarkOpenCentres();
}

// What every finished cave must satisfy, whatever the draws were.
void ExpectFinishedCave()
{
    std::vector<uint8_t> reached(GRID_SIZE_X * GRID_SIZE_Z, 0);
    std::vector<int> queue;
    int openCells = 0;
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++) {
            int t = Tile(x, 0, z);
            ASSERT_NE(t, TILE_BOUNDARY) << x << "," << z;
            bool edge = x <= 2 || x >= 247 || z <= 2 || z >= 247;
            ASSERT_FALSE(edge && IsOpenCave(t)) << x << "," << z;
            if (x <= 1 || x >= 248 || z <= 1 || z >= 248) {
                ASSERT_EQ(t, TILE_EMPTY) << x << "," << z;
            }
            if (IsOpenCave(t)) {
                openCells++;
                // The cave is closed: no open cell looks into empty space.
                ASSERT_NE(Tile(x - 1, 0, z), TILE_EMPTY);
                ASSERT_NE(Tile(x + 1, 0, z), TILE_EMPTY);
                ASSERT_NE(Tile(x, 0, z - 1), TILE_EMPTY);
                ASSERT_NE(Tile(x, 0, z + 1), TILE_EMPTY);
            }
            if (t == TILE_CAVE_OPEN_CENTRE)
                for (int ax = x - 1; ax <= x + 1; ax++)
                    for (int az = z - 1; az <= z + 1; az++)
                        if (ax != x || az != z) {
                            ASSERT_NE(Tile(ax, 0, az), TILE_CAVE_OPEN_CENTRE);
                        }
            if (t == TILE_CAVE_ENTRANCE) {
                reached[x * 250 + z] = 1;
                queue.push_back(x * 250 + z);
            }
        }
    for (size_t head = 0; head < queue.size(); head++) {
        int x = queue[head] / 250, z = queue[head] % 250;
        const int nx[4] = {x - 1, x + 1, x, x}, nz[4] = {z, z, z - 1, z + 1};
        for (int k = 0; k < 4; k++)
            if (!reached[nx[k] * 250 + nz[k]] && IsOpenCave(Tile(nx[k], 0, nz[k]))) {
                reached[nx[k] * 250 + nz[k]] = 1;
                queue.push_back(nx[k] * 250 + nz[k]);
            }
    }
    int reachedOpen = 0;
    for (int i = 0; i < GRID_SIZE_X * GRID_SIZE_Z; i++)
        reachedOpen += reached[i] && IsOpenCave(worldGrid[i / 250 * 3750 + i % 250].tileType);
    EXPECT_EQ(reachedOpen, openCells);

    // Each descent top stands over its ramps and entrance; layer 1 holds nothing else.
    const int runX[4] = {-1, 0, 1, 0}, runZ[4] = {0, 1, 0, -1};
    int tops = 0, layerOneRamps = 0;
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++) {
            int t1 = Tile(x, 1, z);
            ASSERT_TRUE(t1 == TILE_EMPTY || t1 == TILE_DESCENT_RAMP);
            layerOneRamps += t1 == TILE_DESCENT_RAMP;
            if (Tile(x, 2, z) != TILE_DESCENT_TOP)
                continue;
            tops++;
            int o = Turn(x, 2, z), p = (o + 3) % 4, dx = runX[o], dz = runZ[o];
            EXPECT_EQ(Tile(x + 2 * dx, 1, z + 2 * dz), TILE_DESCENT_RAMP);
            EXPECT_EQ(Turn(x + 2 * dx, 1, z + 2 * dz), p);
            EXPECT_EQ(Tile(x + 5 * dx, 0, z + 5 * dz), TILE_DESCENT_RAMP);
            EXPECT_EQ(Tile(x + 7 * dx, 0, z + 7 * dz), TILE_CAVE_ENTRANCE);
            EXPECT_EQ(Turn(x + 7 * dx, 0, z + 7 * dz), p);
            EXPECT_EQ(Tile(x + 8 * dx, 0, z + 8 * dz), TILE_CAVE_FLOOR);
        }
    EXPECT_EQ(tops, layerOneRamps);
}

// The world as the passes before the cave pass leave it for this seed.
void BuildWorldBeforeCave(unsigned seed)
{
    srand(seed);
    ClearWorldGrid();
    GenerateRoomLevel();
    GenerateChannels();
    GenerateFloorsAndInteriors();
}

}  // namespace

TEST(CaveLevel, DescentWorkedExampleAndTheCaveAroundIt)
{
    ClearGrid();
    At(100, 2, 60) = WorldCell{TILE_CHANNEL_SIDE, 0};
    ASSERT_TRUE(TryPlaceDescent(100, 60));
    EXPECT_EQ(Tile(100, 2, 60), TILE_DESCENT_TOP);
    EXPECT_EQ(Turn(100, 2, 60), 0);
    EXPECT_EQ(Tile(98, 1, 60), TILE_DESCENT_RAMP);
    EXPECT_EQ(Turn(98, 1, 60), 3);
    EXPECT_EQ(Tile(95, 0, 60), TILE_DESCENT_RAMP);
    EXPECT_EQ(Turn(95, 0, 60), 3);
    EXPECT_EQ(Tile(93, 0, 60), TILE_CAVE_ENTRANCE);
    EXPECT_EQ(Turn(93, 0, 60), 3);
    EXPECT_EQ(Tile(92, 0, 60), TILE_CAVE_FLOOR);
    for (int x = 93; x <= 97; x++) {
        EXPECT_EQ(Tile(x, 0, 59), TILE_BOUNDARY);
        EXPECT_EQ(Tile(x, 0, 61), TILE_BOUNDARY);
    }
    for (int x : {94, 96, 97})
        EXPECT_EQ(Tile(x, 0, 60), TILE_BOUNDARY);
    EXPECT_FALSE(TryPlaceDescent(100, 60));  // the top is no longer a channel side

    FinishCaveWithoutWallLines();
    EXPECT_EQ(Tile(93, 0, 59), TILE_CAVE_BLOCK);
    EXPECT_EQ(Tile(93, 0, 61), TILE_CAVE_BLOCK);
    EXPECT_EQ(Tile(92, 0, 60), TILE_CAVE_FLOOR);
    EXPECT_EQ(Tile(93, 0, 60), TILE_CAVE_ENTRANCE);
    EXPECT_EQ(Tile(95, 0, 60), TILE_DESCENT_RAMP);
    for (int x = 94; x <= 96; x++) {
        EXPECT_EQ(Tile(x, 0, 59), TILE_CAVE_WALL);
        EXPECT_EQ(Turn(x, 0, 59), 2);
        EXPECT_EQ(Tile(x, 0, 61), TILE_CAVE_WALL);
        EXPECT_EQ(Turn(x, 0, 61), 0);
    }
    EXPECT_EQ(Tile(97, 0, 59), TILE_CAVE_BLOCK);
    EXPECT_EQ(Tile(97, 0, 61), TILE_CAVE_BLOCK);
    EXPECT_EQ(Tile(97, 0, 60), TILE_CAVE_WALL);
    EXPECT_EQ(Turn(97, 0, 60), 1);
    EXPECT_EQ(Tile(94, 0, 60), TILE_EMPTY);
    EXPECT_EQ(Tile(96, 0, 60), TILE_EMPTY);
    EXPECT_EQ(Tile(98, 0, 60), TILE_CAVE_FLOOR);
    ExpectFinishedCave();
}

TEST(CaveLevel, DescentRunsAwayFromItsChannelForEveryOrientation)
{
    ClearGrid();
    struct Case { int o, rampX, rampZ, baseX, baseZ, entranceX, entranceZ, frontX, frontZ, p; };
    const Case cases[] = {
        {0, 98, 60, 95, 60, 93, 60, 92, 60, 3},
        {1, 100, 62, 100, 65, 100, 67, 100, 68, 0},
        {2, 102, 60, 105, 60, 107, 60, 108, 60, 1},
        {3, 100, 58, 100, 55, 100, 53, 100, 52, 2},
    };
    for (const Case& c : cases) {
        ClearGrid();
        At(100, 2, 60) = WorldCell{TILE_CHANNEL_SIDE, (uint8_t)c.o};
        ASSERT_TRUE(TryPlaceDescent(100, 60)) << c.o;
        EXPECT_EQ(Turn(100, 2, 60), c.o);
        EXPECT_EQ(Tile(c.rampX, 1, c.rampZ), TILE_DESCENT_RAMP) << c.o;
        EXPECT_EQ(Turn(c.rampX, 1, c.rampZ), c.p) << c.o;
        EXPECT_EQ(Tile(c.baseX, 0, c.baseZ), TILE_DESCENT_RAMP) << c.o;
        EXPECT_EQ(Turn(c.baseX, 0, c.baseZ), c.p) << c.o;
        EXPECT_EQ(Tile(c.entranceX, 0, c.entranceZ), TILE_CAVE_ENTRANCE) << c.o;
        EXPECT_EQ(Turn(c.entranceX, 0, c.entranceZ), c.p) << c.o;
        EXPECT_EQ(Tile(c.frontX, 0, c.frontZ), TILE_CAVE_FLOOR) << c.o;
        // The entrance faces its front cell, which the reopening step restores.
        At(c.frontX, 0, c.frontZ).tileType = TILE_EMPTY;
        ReopenEntranceFronts();
        EXPECT_EQ(Tile(c.frontX, 0, c.frontZ), TILE_CAVE_FLOOR) << c.o;
    }
}

TEST(CaveLevel, DescentNeedsExactlyItsClearance)
{
    ClearGrid();
    struct Cell3 { int x, y, z; };
    // Run cells on layer 2 (d 1..5), layers 1 and 0 (d 0..5), and the corners of the 7 x 7 square.
    const Cell3 blockers[] = {{99, 2, 60}, {95, 2, 60}, {100, 1, 60}, {95, 1, 60}, {100, 0, 60},
                              {95, 0, 60}, {96, 0, 57}, {96, 0, 63}, {90, 0, 57}, {90, 0, 63}};
    for (const Cell3& b : blockers) {
        ClearGrid();
        At(100, 2, 60) = WorldCell{TILE_CHANNEL_SIDE, 0};
        At(b.x, b.y, b.z).tileType = TILE_CAVE_FLOOR;
        EXPECT_FALSE(TryPlaceDescent(100, 60)) << b.x << "," << b.y << "," << b.z;
        EXPECT_EQ(Tile(100, 2, 60), TILE_CHANNEL_SIDE);
        EXPECT_EQ(Tile(98, 1, 60), TILE_EMPTY);
        EXPECT_EQ(Tile(93, 0, 60), TILE_EMPTY);
    }
    // Just outside: layer 2 at d 6, layer 1 at d 6, layer 0 at d 11, across at s 4, and the
    // marker cells at d 3 beside the run, which the descent overwrites.
    const Cell3 outside[] = {{94, 2, 60}, {94, 1, 60}, {89, 0, 60}, {94, 0, 64}, {97, 0, 59}};
    for (const Cell3& b : outside) {
        ClearGrid();
        At(100, 2, 60) = WorldCell{TILE_CHANNEL_SIDE, 0};
        At(b.x, b.y, b.z).tileType = TILE_CAVE_FLOOR;
        EXPECT_TRUE(TryPlaceDescent(100, 60)) << b.x << "," << b.y << "," << b.z;
    }
    ClearGrid();
    At(100, 2, 60) = WorldCell{TILE_CHANNEL, 0};
    EXPECT_FALSE(TryPlaceDescent(100, 60));
}

TEST(CaveLevel, DescentAttemptsDrawXThenZThreeThousandSevenHundredFiftyTimes)
{
    ClearGrid();
    const unsigned seed = 4242;
    srand(seed);
    std::vector<int> xs, zs;
    for (int i = 0; i < 3751; i++) {
        int x = rand() % 230 + 10;
        int z = rand() % 230 + 10;
        xs.push_back(x);
        zs.push_back(z);
    }
    // The cell of the attempt after the last must not have come up before.
    for (int i = 0; i < 3750; i++)
        ASSERT_FALSE(xs[i] == xs[3750] && zs[i] == zs[3750]);
    ASSERT_FALSE(xs[0] == xs[3749] && zs[0] == zs[3749]);
    At(xs[0], 2, zs[0]) = WorldCell{TILE_CHANNEL_SIDE, 0};
    At(xs[3749], 2, zs[3749]) = WorldCell{TILE_CHANNEL_SIDE, 2};
    At(xs[3750], 2, zs[3750]) = WorldCell{TILE_CHANNEL_SIDE, 1};
    srand(seed);
    GenerateCaveLevel();
    EXPECT_EQ(Tile(xs[0], 2, zs[0]), TILE_DESCENT_TOP);
    EXPECT_EQ(Tile(xs[0] - 7, 0, zs[0]), TILE_CAVE_ENTRANCE);
    EXPECT_EQ(Tile(xs[3749], 2, zs[3749]), TILE_DESCENT_TOP);
    EXPECT_EQ(Tile(xs[3749] + 7, 0, zs[3749]), TILE_CAVE_ENTRANCE);
    EXPECT_EQ(Tile(xs[3750], 2, zs[3750]), TILE_CHANNEL_SIDE);
    ExpectFinishedCave();
}

TEST(CaveLevel, WallLineEmptiesAtMostSixCellsBesidesItsCentre)
{
    ClearGrid();
    FillCaveFloor();
    srand(11);
    int r = rand() % 2;
    srand(11);
    CutCaveWallLine(100, 100, true);
    EXPECT_EQ(Tile(100, 0, 100), r == 1 ? TILE_EMPTY : TILE_CAVE_FLOOR);
    for (int x = 94; x <= 99; x++)
        EXPECT_EQ(Tile(x, 0, 100), TILE_EMPTY) << x;
    EXPECT_EQ(Tile(93, 0, 100), TILE_CAVE_FLOOR);
    EXPECT_EQ(Tile(101, 0, 100), TILE_CAVE_FLOOR);  // the low side used up the count

    // A closed cell three steps toward -x stops that walk after two; the +x walk takes four.
    At(97, 0, 150).tileType = TILE_EMPTY;
    CutCaveWallLine(100, 150, true);
    for (int x : {98, 99, 101, 102, 103, 104})
        EXPECT_EQ(Tile(x, 0, 150), TILE_EMPTY) << x;
    EXPECT_EQ(Tile(105, 0, 150), TILE_CAVE_FLOOR);
    // Along z at the low edge: the walk stops at z 0, the rest goes toward +z.
    CutCaveWallLine(60, 3, false);
    for (int z : {0, 1, 2, 4, 5, 6})
        EXPECT_EQ(Tile(60, 0, z), TILE_EMPTY) << z;
    EXPECT_EQ(Tile(60, 0, 7), TILE_CAVE_FLOOR);

    // A line whose centre lacks an open neighbour across it draws nothing and changes nothing.
    At(200, 0, 101).tileType = TILE_EMPTY;
    At(31, 0, 200).tileType = TILE_EMPTY;
    srand(5);
    int next = rand();
    srand(5);
    CutCaveWallLine(200, 100, true);
    CutCaveWallLine(30, 200, false);
    EXPECT_EQ(rand(), next);
    EXPECT_EQ(Tile(200, 0, 100), TILE_CAVE_FLOOR);
    EXPECT_EQ(Tile(199, 0, 100), TILE_CAVE_FLOOR);
    EXPECT_EQ(Tile(30, 0, 199), TILE_CAVE_FLOOR);
}

TEST(CaveLevel, ReachFollowsFourConnectedFloorOnlyInsideTheBorder)
{
    ClearGrid();
    At(50, 0, 50) = WorldCell{TILE_CAVE_ENTRANCE, 0};
    for (int z = 51; z <= 53; z++)
        At(50, 0, z).tileType = TILE_CAVE_FLOOR;
    At(51, 0, 53).tileType = TILE_CAVE_FLOOR;   // joined by a side
    At(52, 0, 54).tileType = TILE_CAVE_FLOOR;   // only a corner touches: not joined
    At(49, 0, 50).tileType = TILE_CAVE_FLOOR;   // beside the entrance's back: joined
    At(70, 0, 70).tileType = TILE_CAVE_FLOOR;   // alone
    At(100, 0, 248) = WorldCell{TILE_CAVE_ENTRANCE, 0};
    At(100, 0, 249).tileType = TILE_CAVE_FLOOR;  // outside 1..248: never marked
    At(101, 0, 248).tileType = TILE_CAVE_FLOOR;
    for (int pass = 0; pass < 2; pass++) {
        if (pass == 0)
            MarkCaveReach();
        else
            MarkCaveReachByRescan();
        int marked = 0;
        for (int i = 0; i < GRID_SIZE_X * GRID_SIZE_Z; i++)
            marked += caveReached[i];
        EXPECT_EQ(marked, 8) << pass;
        for (int z = 50; z <= 53; z++)
            EXPECT_EQ(caveReached[50 * 250 + z], 1) << z;
        EXPECT_EQ(caveReached[51 * 250 + 53], 1);
        EXPECT_EQ(caveReached[49 * 250 + 50], 1);
        EXPECT_EQ(caveReached[100 * 250 + 248], 1);
        EXPECT_EQ(caveReached[101 * 250 + 248], 1);
        EXPECT_EQ(caveReached[52 * 250 + 54], 0);
        EXPECT_EQ(caveReached[100 * 250 + 249], 0);
    }
    PruneUnreachedCave();
    EXPECT_EQ(Tile(52, 0, 54), TILE_EMPTY);
    EXPECT_EQ(Tile(70, 0, 70), TILE_EMPTY);
    EXPECT_EQ(Tile(51, 0, 53), TILE_CAVE_FLOOR);
}

TEST(CaveLevel, FloodFillMarksWhatTheRescanMarksOnScatteredLayers)
{
    ClearGrid();
    const unsigned seeds[] = {1, 2, 3};
    const int openPercent[] = {55, 60, 70};
    for (int k = 0; k < 3; k++) {
        ClearGrid();
        srand(seeds[k]);
        for (int x = 0; x < GRID_SIZE_X; x++)
            for (int z = 0; z < GRID_SIZE_Z; z++) {
                int v = rand() % 1000;
                if (v < 3)
                    At(x, 0, z).tileType = TILE_CAVE_ENTRANCE;
                else if (v < openPercent[k] * 10)
                    At(x, 0, z).tileType = TILE_CAVE_FLOOR;
            }
        MarkCaveReachByRescan();
        std::vector<uint8_t> slow(caveReached, caveReached + GRID_SIZE_X * GRID_SIZE_Z);
        memset(caveReached, 7, sizeof caveReached);
        MarkCaveReach();
        int marked = 0;
        for (int i = 0; i < GRID_SIZE_X * GRID_SIZE_Z; i++) {
            ASSERT_EQ(caveReached[i], slow[i]) << "seed " << seeds[k] << " cell " << i;
            marked += slow[i];
        }
        EXPECT_GT(marked, 1000) << seeds[k];
    }
}

TEST(CaveLevel, EmptyCellsBecomeWallsPartitionsAndBlocksByTheirOpenNeighbours)
{
    ClearGrid();
    struct Offset { int dx, dz; };
    struct Case { std::vector<Offset> open; bool entranceWest; int tile, turn; };
    const Case cases[] = {
        {{{-1, 0}, {1, 0}}, false, TILE_CAVE_PARTITION, 1},
        {{{0, -1}, {0, 1}}, false, TILE_CAVE_PARTITION, 0},
        {{{-1, 0}, {0, 1}}, false, TILE_CAVE_BLOCK, 2},
        {{{-1, 0}}, false, TILE_CAVE_WALL, 3},
        {{{1, 0}}, false, TILE_CAVE_WALL, 1},
        {{{0, -1}}, false, TILE_CAVE_WALL, 2},
        {{{0, 1}}, false, TILE_CAVE_WALL, 0},
        {{{-1, 0}, {1, 0}, {0, 1}}, false, TILE_CAVE_BLOCK, 2},
        {{{-1, 0}, {1, 0}, {0, -1}, {0, 1}}, false, TILE_CAVE_BLOCK, 2},
        {{{1, 1}}, false, TILE_EMPTY, 2},
        {{{1, 1}}, true, TILE_CAVE_BLOCK, 2},
        {{{1, 0}}, true, TILE_CAVE_WALL, 1},
        {{{1, 0}, {-1, -1}}, true, TILE_CAVE_BLOCK, 2},
    };
    int n = 0;
    for (const Case& c : cases) {
        int x = 20 + 10 * n++;
        At(x, 0, 50).orientation = 2;
        for (const Offset& o : c.open)
            At(x + o.dx, 0, 50 + o.dz).tileType = TILE_CAVE_FLOOR;
        if (c.entranceWest)
            At(x - 1, 0, 50) = WorldCell{TILE_CAVE_ENTRANCE, 3};
    }
    ClassifyCaveWalls();
    n = 0;
    for (const Case& c : cases) {
        int x = 20 + 10 * n++;
        EXPECT_EQ(Tile(x, 0, 50), c.tile) << "case " << n;
        EXPECT_EQ(Turn(x, 0, 50), c.turn) << "case " << n;
    }
}

TEST(CaveLevel, OpenCentresFallOnEverySecondCellOfEverySecondRowInScanOrder)
{
    ClearGrid();
    for (int x = 10; x <= 30; x++)
        for (int z = 10; z <= 30; z++)
            At(x, 0, z).tileType = TILE_CAVE_FLOOR;
    At(20, 0, 25).tileType = TILE_EMPTY;
    MarkOpenCentres();
    for (int x = 10; x <= 30; x++)
        for (int z = 10; z <= 30; z++) {
            bool centre;
            if (z == 25)  // the hole holds back (19, 25) and (21, 25); the column shifts by one
                centre = x == 11 || x == 13 || x == 15 || x == 17 || x == 22 || x == 24 ||
                         x == 26 || x == 28;
            else
                centre = x >= 11 && x <= 29 && z >= 11 && z <= 29 && (x - 11) % 2 == 0 &&
                         (z - 11) % 2 == 0;
            int expected = x == 20 && z == 25 ? TILE_EMPTY
                           : centre           ? TILE_CAVE_OPEN_CENTRE
                                              : TILE_CAVE_FLOOR;
            ASSERT_EQ(Tile(x, 0, z), expected) << x << "," << z;
        }
}

TEST(CaveLevel, FloodFillPassMatchesRescanPassOnGeneratedWorlds)
{
    for (unsigned seed : {1u, 20261206u, 31337u}) {
        BuildWorldBeforeCave(seed);
        GenerateCaveLevel();
        std::vector<WorldCell> fast(worldGrid, worldGrid + CELL_COUNT);
        BuildWorldBeforeCave(seed);
        GenerateCaveLevelByRescan();
        ASSERT_EQ(memcmp(fast.data(), worldGrid, sizeof worldGrid), 0) << seed;
    }
}

TEST(CaveLevel, GeneratedCavesAreClosedReachableAndTouchOnlyTheLowLayers)
{
    std::vector<WorldCell> before(CELL_COUNT);
    for (unsigned seed = 100; seed < 112; seed++) {
        BuildWorldBeforeCave(seed);
        before.assign(worldGrid, worldGrid + CELL_COUNT);
        GenerateCaveLevel();
        ExpectFinishedCave();
        int tops = 0, open = 0;
        for (int x = 0; x < GRID_SIZE_X; x++)
            for (int z = 0; z < GRID_SIZE_Z; z++) {
                open += IsOpenCave(Tile(x, 0, z));
                const WorldCell& was = before[CellIndex(x, 2, z)];
                const WorldCell& now = At(x, 2, z);
                if (now.tileType != was.tileType) {
                    ASSERT_EQ(was.tileType, TILE_CHANNEL_SIDE);
                    ASSERT_EQ(now.tileType, TILE_DESCENT_TOP);
                    tops++;
                }
                ASSERT_EQ(now.orientation, was.orientation);
            }
        EXPECT_GT(tops, 0) << seed;
        EXPECT_GT(open, 0) << seed;
        // Layers 3 and up are untouched.
        for (int x = 0; x < GRID_SIZE_X; x++)
            for (int y = 3; y < GRID_LAYERS; y++)
                ASSERT_EQ(memcmp(&before[CellIndex(x, y, 0)], &At(x, y, 0),
                                 GRID_SIZE_Z * sizeof(WorldCell)),
                          0)
                    << seed << " x " << x << " y " << y;
    }
}
