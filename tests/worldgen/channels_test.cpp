#include <cstring>

#include "grid_helpers.h"
#include "worldgen/channels.h"
#include "worldgen/room_level.h"

namespace {

// A thick wall along z on layer 3 (skin at x 100 and 104, core 101..103, z 80..120), with
// layer-2 rock beyond both ends (z <= 85 and z >= 115).
void CraftWallAlongZ()
{
    ClearWorldGrid();
    Fill(100, 104, 3, 80, 120, TILE_WALL);
    Fill(101, 103, 3, 80, 120, TILE_WALL_CORE);
    Fill(95, 109, 2, 80, 85, TILE_ROCK);
    Fill(95, 109, 2, 115, 120, TILE_ROCK);
}

}  // namespace

TEST(Channels, OutletRunsItsChannelTheDrawnWayUpToTheFirstNonEmptyCell)
{
    bool seen[2] = {false, false};
    for (unsigned seed = 1; seed <= 6; seed++) {
        srand(seed);
        int r = rand() % 2;
        seen[r] = true;
        CraftWallAlongZ();
        srand(seed);
        TryOutlet(102, 100);
        ExpectDrawsTaken(seed, 1);
        ExpectCells({{102, 3, 100, TILE_WALL_OUTLET, 0}, {102, 2, 100, TILE_CHANNEL, 0}});
        int z0 = r == 0 ? 100 : 86, z1 = r == 0 ? 114 : 100;
        for (int z = 86; z <= 114; z++)
            EXPECT_EQ(T(102, 2, z), z >= z0 && z <= z1 ? TILE_CHANNEL : TILE_EMPTY) << seed << " " << z;
        EXPECT_EQ(CountTiles(2, TILE_CHANNEL), 15);

        // A wall along x near the low edge: toward -x the run ends at x = 0, toward +x before a side piece.
        ClearWorldGrid();
        Fill(3, 40, 3, 100, 104, TILE_WALL);
        Fill(3, 40, 3, 101, 103, TILE_WALL_CORE);
        Put(30, 2, 102, TILE_CHANNEL_SIDE);
        srand(seed);
        TryOutlet(20, 102);
        ExpectCells({{20, 3, 102, TILE_WALL_OUTLET, 1}, {20, 2, 102, TILE_CHANNEL, 1},
                     {r == 0 ? 29 : 0, 2, 102, TILE_CHANNEL, 0}, {30, 2, 102, TILE_CHANNEL_SIDE, 0}});
        EXPECT_EQ(CountTiles(2, TILE_CHANNEL), r == 0 ? 10 : 21);
    }
    EXPECT_TRUE(seen[0] && seen[1]);

    // No outlet and no draw off the core's centre line, on skin, or where skin is missing.
    for (const auto& c : {std::make_pair(101, 100), std::make_pair(100, 100), std::make_pair(102, 80)}) {
        CraftWallAlongZ();
        srand(5);
        TryOutlet(c.first, c.second);
        ExpectDrawsTaken(5, 0);
        EXPECT_EQ(CountTiles(3, TILE_WALL_OUTLET) + CountTiles(2, TILE_CHANNEL), 0);
    }
}

TEST(Channels, CentreOfASingleWallBlockGetsTwoChannelsAndOrientationOne)
{
    for (unsigned seed = 1; seed <= 4; seed++) {
        srand(seed);
        int r1 = rand() % 2, r2 = rand() % 2;
        // A 5 x 5 block (skin ring at 100 and 104, core 101..103) in a layer-2 rock ring at distance 10.
        ClearWorldGrid();
        Fill(100, 104, 3, 100, 104, TILE_WALL);
        Fill(101, 103, 3, 101, 103, TILE_WALL_CORE);
        Fill(90, 114, 2, 90, 114, TILE_ROCK);
        Fill(91, 113, 2, 91, 113, TILE_EMPTY);
        srand(seed);
        TryOutlet(102, 102);
        ExpectDrawsTaken(seed, 2);
        ExpectCells({{102, 3, 102, TILE_WALL_OUTLET, 1}, {102, 2, 102, TILE_CHANNEL, 1},
                     {102, 2, r1 == 0 ? 113 : 91, TILE_CHANNEL, 0}, {r2 == 0 ? 113 : 91, 2, 102, TILE_CHANNEL, 0},
                     {r2 == 0 ? 103 : 101, 2, 102, TILE_CHANNEL, 0}});  // run cells keep orientation 0
        EXPECT_EQ(CountTiles(2, TILE_CHANNEL), 23);
    }
}

TEST(Channels, TrimAndGapClosingOnCraftedLayers)
{
    ClearWorldGrid();
    Fill(100, 100, 2, 80, 90, TILE_CHANNEL);
    Put(100, 2, 80, TILE_CHANNEL, 1);
    Put(100, 2, 79, TILE_ROCK);  // beside (100, 80)
    Put(101, 2, 91, TILE_ROCK);  // diagonal to (100, 90)
    TrimChannelsAtRock();
    ExpectCells({{100, 2, 80, TILE_EMPTY, 1}, {100, 2, 90, TILE_EMPTY, 0}, {100, 2, 81, TILE_CHANNEL, 0},
                 {100, 2, 89, TILE_CHANNEL, 0}});
    EXPECT_EQ(CountTiles(2, TILE_CHANNEL), 9) << "cleared cells do not clear their neighbours";

    for (int method = 0; method < 2; method++) {
        SCOPED_TRACE(method);
        ClearWorldGrid();
        Put(50, 2, 50, TILE_CHANNEL);  // a one-cell gap along z
        Put(50, 2, 52, TILE_CHANNEL);
        Put(60, 2, 50, TILE_CHANNEL);  // a two-cell gap stays
        Put(60, 2, 53, TILE_CHANNEL);
        Put(100, 2, 100, TILE_CHANNEL);  // a gap along x whose fill closes a gap along z
        Put(102, 2, 100, TILE_CHANNEL);
        Put(101, 2, 98, TILE_CHANNEL);
        Put(150, 2, 150, TILE_CHANNEL);  // a non-empty cell is never filled
        Put(152, 2, 150, TILE_CHANNEL);
        Put(151, 2, 150, TILE_CHANNEL_SIDE, 2);
        Put(200, 2, 200, TILE_CHANNEL);  // a diagonal pair is not a gap
        Put(201, 2, 201, TILE_CHANNEL);
        if (method == 0)
            CloseChannelGapsByRescanning();
        else
            CloseChannelGaps();
        ExpectCells({{50, 2, 51, TILE_CHANNEL, 0}, {101, 2, 100, TILE_CHANNEL, 0}, {101, 2, 99, TILE_CHANNEL, 0},
                     {151, 2, 150, TILE_CHANNEL_SIDE, 2}});
        EXPECT_EQ(CountTiles(2, TILE_CHANNEL), 11 + 3);
    }
}

TEST(Channels, WorklistGapClosingMatchesTheRescanningMethodOnGeneratedLevels)
{
    static WorldCell start[CELL_COUNT], slow[CELL_COUNT];
    int fills = 0;
    for (unsigned seed = 1; seed <= 6; seed++) {
        srand(seed);
        ClearWorldGrid();
        GenerateRoomLevel();
        PlaceOutletsAndChannels();
        TrimChannelsAtRock();
        memcpy(start, worldGrid, sizeof worldGrid);
        int before = CountTiles(2, TILE_CHANNEL);
        CloseChannelGapsByRescanning();
        fills += CountTiles(2, TILE_CHANNEL) - before;
        memcpy(slow, worldGrid, sizeof worldGrid);
        memcpy(worldGrid, start, sizeof worldGrid);
        CloseChannelGaps();
        EXPECT_EQ(memcmp(slow, worldGrid, sizeof worldGrid), 0) << seed;
    }
    EXPECT_GT(fills, 0) << "the seeds must exercise the gap closing";
}

TEST(Channels, SidesCornersAndHeadsFollowTheChannelCellsAround)
{
    ClearWorldGrid();
    Put(50, 2, 50, TILE_CHANNEL);  // a lone channel cell: four sides and four outer corners
    Put(101, 2, 100, TILE_CHANNEL);  // inner corners at (100|130|160|190, 100)
    Put(100, 2, 101, TILE_CHANNEL);
    Put(131, 2, 100, TILE_CHANNEL);
    Put(130, 2, 99, TILE_CHANNEL);
    Put(159, 2, 100, TILE_CHANNEL);
    Put(160, 2, 101, TILE_CHANNEL);
    Put(189, 2, 100, TILE_CHANNEL);
    Put(190, 2, 99, TILE_CHANNEL);
    Put(201, 2, 201, TILE_CHANNEL);  // two diagonal channel cells only: stays empty
    Put(199, 2, 199, TILE_CHANNEL);
    Put(51, 2, 80, TILE_CHANNEL);  // a non-empty cell keeps what it holds
    Put(50, 2, 80, TILE_ROCK, 2);
    AddChannelSidesAndCorners();
    ExpectCells({{51, 2, 50, TILE_CHANNEL_SIDE, 2}, {49, 2, 50, TILE_CHANNEL_SIDE, 0},
                 {50, 2, 49, TILE_CHANNEL_SIDE, 3}, {50, 2, 51, TILE_CHANNEL_SIDE, 1},
                 {51, 2, 51, TILE_CHANNEL_OUTER_CORNER, 1}, {49, 2, 49, TILE_CHANNEL_OUTER_CORNER, 3},
                 {49, 2, 51, TILE_CHANNEL_OUTER_CORNER, 0}, {51, 2, 49, TILE_CHANNEL_OUTER_CORNER, 2},
                 {50, 2, 52, TILE_EMPTY, 0},
                 {100, 2, 100, TILE_CHANNEL_INNER_CORNER, 3}, {130, 2, 100, TILE_CHANNEL_INNER_CORNER, 0},
                 {160, 2, 100, TILE_CHANNEL_INNER_CORNER, 2}, {190, 2, 100, TILE_CHANNEL_INNER_CORNER, 1},
                 {99, 2, 101, TILE_CHANNEL_SIDE, 0}, {99, 2, 100, TILE_CHANNEL_OUTER_CORNER, 3},
                 {200, 2, 200, TILE_EMPTY, 0}, {50, 2, 80, TILE_ROCK, 2}});

    // Heads go under every outlet and keep the orientation of the cell they replace.
    ClearWorldGrid();
    Put(100, 3, 100, TILE_WALL_OUTLET, 1);
    Put(100, 2, 100, TILE_CHANNEL_SIDE, 3);
    Put(120, 3, 100, TILE_WALL_OUTLET, 0);
    Put(120, 2, 100, TILE_EMPTY, 1);
    MarkChannelHeads();
    ExpectCells({{100, 2, 100, TILE_CHANNEL_HEAD, 3}, {120, 2, 100, TILE_CHANNEL_HEAD, 1}});
    EXPECT_EQ(CountTiles(2, TILE_CHANNEL_HEAD), 2);
}
