#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "world/world_grid.h"
#include "worldgen/channels.h"
#include "worldgen/generate_world.h"
#include "worldgen/room_level.h"

namespace {

int T(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)].tileType; }
int O(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)].orientation; }

void Put(int x, int y, int z, int tile, int orientation = 0)
{
    worldGrid[CellIndex(x, y, z)] = WorldCell{(uint8_t)tile, (uint8_t)orientation};
}

void Fill(int x0, int x1, int y, int z0, int z1, int tile)
{
    for (int x = x0; x <= x1; x++)
        for (int z = z0; z <= z1; z++)
            Put(x, y, z, tile);
}

// A thick wall along z on layer 3: skin at x = 100 and 104, core 101..103, for z 80..120,
// with rock on layer 2 beyond both ends (z <= 85 and z >= 115).
void CraftWallAlongZ()
{
    ClearWorldGrid();
    Fill(100, 104, 3, 80, 120, TILE_WALL);
    Fill(101, 103, 3, 80, 120, TILE_WALL_CORE);
    Fill(95, 109, 2, 80, 85, TILE_ROCK);
    Fill(95, 109, 2, 115, 120, TILE_ROCK);
}

int CountLayer(int y, int tile)
{
    int n = 0;
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            n += T(x, y, z) == tile;
    return n;
}

}  // namespace

TEST(Channels, OutletInAWallAlongZRunsOneChannelTheDrawnWay)
{
    bool seen[2] = {false, false};
    for (unsigned seed = 1; seed <= 6; seed++) {
        srand(seed);
        int r = rand() % 2;
        int after = rand();
        seen[r] = true;

        CraftWallAlongZ();
        srand(seed);
        TryOutlet(102, 100);
        EXPECT_EQ(rand(), after) << "one draw per test that holds";

        EXPECT_EQ(T(102, 3, 100), TILE_WALL_OUTLET);
        EXPECT_EQ(O(102, 3, 100), 0);
        EXPECT_EQ(T(102, 2, 100), TILE_CHANNEL);
        EXPECT_EQ(O(102, 2, 100), 0);
        // The run goes toward +z for r = 0 and -z for r = 1, up to the rock.
        int z0 = r == 0 ? 101 : 86, z1 = r == 0 ? 114 : 99;
        for (int z = 80; z <= 120; z++) {
            bool run = (z >= z0 && z <= z1) || z == 100;
            if (z <= 85 || z >= 115)
                EXPECT_EQ(T(102, 2, z), TILE_ROCK) << z;
            else
                EXPECT_EQ(T(102, 2, z), run ? TILE_CHANNEL : TILE_EMPTY) << seed << " " << z;
            EXPECT_EQ(O(102, 2, z), 0);
        }
        EXPECT_EQ(CountLayer(2, TILE_CHANNEL), 15);
        EXPECT_EQ(CountLayer(3, TILE_WALL_OUTLET), 1);
    }
    EXPECT_TRUE(seen[0] && seen[1]);
}

TEST(Channels, OutletNeedsCoreAndSkinAndDrawsNothingOtherwise)
{
    const int cells[][2] = {{101, 100}, {100, 100}, {102, 80}, {150, 150}};
    for (const auto& c : cells) {
        CraftWallAlongZ();
        srand(5);
        int first = rand();
        srand(5);
        TryOutlet(c[0], c[1]);
        EXPECT_EQ(rand(), first) << c[0] << "," << c[1];
        EXPECT_EQ(CountLayer(3, TILE_WALL_OUTLET), 0);
        EXPECT_EQ(CountLayer(2, TILE_CHANNEL), 0);
    }
}

TEST(Channels, CentreOfASingleWallBlockGetsTwoChannelsAndOrientationOne)
{
    for (unsigned seed = 1; seed <= 4; seed++) {
        srand(seed);
        int r1 = rand() % 2;
        int r2 = rand() % 2;
        int after = rand();

        // A 5 x 5 block, skin ring at 100 and 104, core 101..103; rock on layer 2 at distance 10.
        ClearWorldGrid();
        Fill(100, 104, 3, 100, 104, TILE_WALL);
        Fill(101, 103, 3, 101, 103, TILE_WALL_CORE);
        Fill(90, 114, 2, 90, 114, TILE_ROCK);
        Fill(91, 113, 2, 91, 113, TILE_EMPTY);
        srand(seed);
        TryOutlet(102, 102);
        EXPECT_EQ(rand(), after);

        EXPECT_EQ(T(102, 3, 102), TILE_WALL_OUTLET);
        EXPECT_EQ(O(102, 3, 102), 1);
        EXPECT_EQ(T(102, 2, 102), TILE_CHANNEL);
        EXPECT_EQ(O(102, 2, 102), 1);
        for (int k = 1; k <= 11; k++) {
            int zRun = r1 == 0 ? 102 + k : 102 - k;
            int xRun = r2 == 0 ? 102 + k : 102 - k;
            EXPECT_EQ(T(102, 2, zRun), TILE_CHANNEL) << k;
            EXPECT_EQ(T(xRun, 2, 102), TILE_CHANNEL) << k;
            EXPECT_EQ(O(xRun, 2, 102), 0) << "run cells take the tile byte only";
        }
        EXPECT_EQ(CountLayer(2, TILE_CHANNEL), 23);
    }
}

TEST(Channels, RunStopsAtTheFirstNonEmptyCellOrTheGridEdge)
{
    // A wall along x near the low-x edge, nothing on layer 2: the run toward -x ends at x = 0.
    for (unsigned seed = 1; seed <= 6; seed++) {
        srand(seed);
        int r = rand() % 2;
        ClearWorldGrid();
        Fill(3, 40, 3, 100, 104, TILE_WALL);
        Fill(3, 40, 3, 101, 103, TILE_WALL_CORE);
        Put(30, 2, 102, TILE_CHANNEL_SIDE);
        srand(seed);
        TryOutlet(20, 102);
        if (r == 1) {
            for (int x = 0; x <= 20; x++)
                EXPECT_EQ(T(x, 2, 102), TILE_CHANNEL) << x;
            EXPECT_EQ(CountLayer(2, TILE_CHANNEL), 21);
        } else {
            for (int x = 20; x <= 29; x++)
                EXPECT_EQ(T(x, 2, 102), TILE_CHANNEL) << x;
            EXPECT_EQ(T(30, 2, 102), TILE_CHANNEL_SIDE);
            EXPECT_EQ(CountLayer(2, TILE_CHANNEL), 10);
        }
    }
}

TEST(Channels, TrimClearsChannelCellsTouchingRockWithoutSpreading)
{
    ClearWorldGrid();
    Fill(100, 100, 2, 80, 90, TILE_CHANNEL);
    Put(100, 2, 80, TILE_CHANNEL, 1);
    Put(100, 2, 79, TILE_ROCK);   // beside (100, 80)
    Put(101, 2, 91, TILE_ROCK);   // diagonal to (100, 90)
    TrimChannelsAtRock();
    EXPECT_EQ(T(100, 2, 80), TILE_EMPTY);
    EXPECT_EQ(O(100, 2, 80), 1) << "only the tile byte is cleared";
    EXPECT_EQ(T(100, 2, 90), TILE_EMPTY);
    for (int z = 81; z <= 89; z++)
        EXPECT_EQ(T(100, 2, z), TILE_CHANNEL) << z;
    EXPECT_EQ(T(100, 2, 79), TILE_ROCK);
}

TEST(Channels, GapClosingFillsSingleGapsInALineUntilNoneIsLeft)
{
    // Both methods on the same crafted layer.
    for (int method = 0; method < 2; method++) {
        ClearWorldGrid();
        // One-cell gap along z, and a two-cell gap that stays.
        Put(50, 2, 50, TILE_CHANNEL);
        Put(50, 2, 52, TILE_CHANNEL);
        Put(60, 2, 50, TILE_CHANNEL);
        Put(60, 2, 53, TILE_CHANNEL);
        // One-cell gap along x whose fill closes a second gap along z.
        Put(100, 2, 100, TILE_CHANNEL);
        Put(102, 2, 100, TILE_CHANNEL);
        Put(101, 2, 98, TILE_CHANNEL);
        // Non-empty cells are never filled.
        Put(150, 2, 150, TILE_CHANNEL);
        Put(152, 2, 150, TILE_CHANNEL);
        Put(151, 2, 150, TILE_CHANNEL_SIDE, 2);
        // A diagonal pair is not a gap.
        Put(200, 2, 200, TILE_CHANNEL);
        Put(201, 2, 201, TILE_CHANNEL);

        if (method == 0)
            CloseChannelGapsByRescanning();
        else
            CloseChannelGaps();
        EXPECT_EQ(T(50, 2, 51), TILE_CHANNEL) << method;
        EXPECT_EQ(T(60, 2, 51), TILE_EMPTY) << method;
        EXPECT_EQ(T(60, 2, 52), TILE_EMPTY) << method;
        EXPECT_EQ(T(101, 2, 100), TILE_CHANNEL) << method;
        EXPECT_EQ(T(101, 2, 99), TILE_CHANNEL) << method;
        EXPECT_EQ(T(151, 2, 150), TILE_CHANNEL_SIDE) << method;
        EXPECT_EQ(CountLayer(2, TILE_CHANNEL), 11 + 3) << method;
    }
}

TEST(Channels, WorklistGapClosingMatchesTheRescanningMethodOnGeneratedLevels)
{
    static WorldCell start[CELL_COUNT];
    static WorldCell slow[CELL_COUNT];
    int totalFills = 0;
    const unsigned seeds[] = {1, 2, 3, 4, 5, 6};
    for (unsigned seed : seeds) {
        srand(seed);
        ClearWorldGrid();
        GenerateRoomLevel();
        PlaceOutletsAndChannels();
        TrimChannelsAtRock();
        memcpy(start, worldGrid, sizeof worldGrid);
        int before = CountLayer(2, TILE_CHANNEL);

        CloseChannelGapsByRescanning();
        memcpy(slow, worldGrid, sizeof worldGrid);
        totalFills += CountLayer(2, TILE_CHANNEL) - before;

        memcpy(worldGrid, start, sizeof worldGrid);
        CloseChannelGaps();
        EXPECT_EQ(memcmp(slow, worldGrid, sizeof worldGrid), 0) << seed;
    }
    EXPECT_GT(totalFills, 0) << "the seeds must exercise the gap closing";
}

TEST(Channels, SidesAndCornersFollowTheChannelCellsAround)
{
    ClearWorldGrid();
    // A lone channel cell: four sides and four outer corners.
    Put(50, 2, 50, TILE_CHANNEL);
    // +x and +z channel neighbours: an inner corner, orientation 3.
    Put(101, 2, 100, TILE_CHANNEL);
    Put(100, 2, 101, TILE_CHANNEL);
    // The other inner corners.
    Put(131, 2, 100, TILE_CHANNEL);
    Put(130, 2, 99, TILE_CHANNEL);
    Put(159, 2, 100, TILE_CHANNEL);
    Put(160, 2, 101, TILE_CHANNEL);
    Put(189, 2, 100, TILE_CHANNEL);
    Put(190, 2, 99, TILE_CHANNEL);
    // Two diagonal channel cells and no straight one: stays empty.
    Put(201, 2, 201, TILE_CHANNEL);
    Put(199, 2, 199, TILE_CHANNEL);
    // Non-empty cells keep what they hold.
    Put(51, 2, 80, TILE_CHANNEL);
    Put(50, 2, 80, TILE_ROCK, 2);
    AddChannelSidesAndCorners();

    EXPECT_EQ(T(51, 2, 50), TILE_CHANNEL_SIDE); EXPECT_EQ(O(51, 2, 50), 2);
    EXPECT_EQ(T(49, 2, 50), TILE_CHANNEL_SIDE); EXPECT_EQ(O(49, 2, 50), 0);
    EXPECT_EQ(T(50, 2, 49), TILE_CHANNEL_SIDE); EXPECT_EQ(O(50, 2, 49), 3);
    EXPECT_EQ(T(50, 2, 51), TILE_CHANNEL_SIDE); EXPECT_EQ(O(50, 2, 51), 1);
    EXPECT_EQ(T(51, 2, 51), TILE_CHANNEL_OUTER_CORNER); EXPECT_EQ(O(51, 2, 51), 1);
    EXPECT_EQ(T(49, 2, 49), TILE_CHANNEL_OUTER_CORNER); EXPECT_EQ(O(49, 2, 49), 3);
    EXPECT_EQ(T(49, 2, 51), TILE_CHANNEL_OUTER_CORNER); EXPECT_EQ(O(49, 2, 51), 0);
    EXPECT_EQ(T(51, 2, 49), TILE_CHANNEL_OUTER_CORNER); EXPECT_EQ(O(51, 2, 49), 2);
    EXPECT_EQ(T(50, 2, 52), TILE_EMPTY);

    EXPECT_EQ(T(100, 2, 100), TILE_CHANNEL_INNER_CORNER); EXPECT_EQ(O(100, 2, 100), 3);
    EXPECT_EQ(T(130, 2, 100), TILE_CHANNEL_INNER_CORNER); EXPECT_EQ(O(130, 2, 100), 0);
    EXPECT_EQ(T(160, 2, 100), TILE_CHANNEL_INNER_CORNER); EXPECT_EQ(O(160, 2, 100), 2);
    EXPECT_EQ(T(190, 2, 100), TILE_CHANNEL_INNER_CORNER); EXPECT_EQ(O(190, 2, 100), 1);
    EXPECT_EQ(T(99, 2, 101), TILE_CHANNEL_SIDE); EXPECT_EQ(O(99, 2, 101), 0);
    EXPECT_EQ(T(99, 2, 100), TILE_CHANNEL_OUTER_CORNER); EXPECT_EQ(O(99, 2, 100), 3);

    EXPECT_EQ(T(200, 2, 200), TILE_EMPTY);
    EXPECT_EQ(O(200, 2, 200), 0);
    EXPECT_EQ(T(50, 2, 80), TILE_ROCK);
    EXPECT_EQ(O(50, 2, 80), 2);
}

TEST(Channels, EveryOutletGetsAHeadBelowKeepingItsOrientation)
{
    ClearWorldGrid();
    Put(100, 3, 100, TILE_WALL_OUTLET, 1);
    Put(100, 2, 100, TILE_CHANNEL_SIDE, 3);
    Put(120, 3, 100, TILE_WALL_OUTLET, 0);
    Put(120, 2, 100, TILE_EMPTY, 1);
    MarkChannelHeads();
    EXPECT_EQ(T(100, 2, 100), TILE_CHANNEL_HEAD);
    EXPECT_EQ(O(100, 2, 100), 3);
    EXPECT_EQ(T(120, 2, 100), TILE_CHANNEL_HEAD);
    EXPECT_EQ(O(120, 2, 100), 1);
    EXPECT_EQ(CountLayer(2, TILE_CHANNEL_HEAD), 2);
}
