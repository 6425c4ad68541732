#include <cstring>

#include "grid_helpers.h"
#include "worldgen/channels.h"
#include "worldgen/room_level.h"

TEST(Channels, OutletsRunTheirChannelsTheDrawnWayUpToTheFirstNonEmptyCell)
{
    bool seen[2] = {false, false};
    for (unsigned seed = 1; seed <= 6; seed++) {
        srand(seed);
        int r1 = rand() % 2, r2 = rand() % 2;
        seen[r1] = true;
        // A thick wall along z (skin x 100 and 104, core 101..103) with layer-2 rock beyond z 85 and 115.
        ClearWorldGrid();
        Fill(100, 104, 3, 80, 120, TILE_WALL), Fill(101, 103, 3, 80, 120, TILE_WALL_CORE);
        Fill(95, 109, 2, 80, 85, TILE_ROCK), Fill(95, 109, 2, 115, 120, TILE_ROCK);
        srand(seed);
        TryOutlet(101, 100);  // off the centre line
        TryOutlet(100, 100);  // on skin
        TryOutlet(102, 80);   // at the wall's end: no core at z - 1
        TryOutlet(102, 100);
        ExpectDrawsTaken(seed, 1);
        EXPECT_EQ(CountTiles(3, TILE_WALL_OUTLET), 1);
        ExpectCells({{102, 3, 100, TILE_WALL_OUTLET, 0}, {102, 2, 100, TILE_CHANNEL, 0}});
        for (int z = 86; z <= 114; z++)
            EXPECT_EQ(T(102, 2, z), z == 100 || (r1 == 0 ? z > 100 : z < 100) ? TILE_CHANNEL : TILE_EMPTY) << z;

        // The centre of a 5 x 5 block in a ring of layer-2 rock 10 cells out: two channels, orientation 1.
        ClearWorldGrid();
        Fill(100, 104, 3, 100, 104, TILE_WALL), Fill(101, 103, 3, 101, 103, TILE_WALL_CORE);
        Fill(90, 114, 2, 90, 114, TILE_ROCK), Fill(91, 113, 2, 91, 113, TILE_EMPTY);
        srand(seed);
        TryOutlet(102, 102);
        ExpectDrawsTaken(seed, 2);
        ExpectCells({{102, 3, 102, TILE_WALL_OUTLET, 1}, {102, 2, 102, TILE_CHANNEL, 1},
                     {102, 2, r1 == 0 ? 113 : 91, TILE_CHANNEL, 0}, {r2 == 0 ? 113 : 91, 2, 102, TILE_CHANNEL, 0}});
        EXPECT_EQ(CountTiles(2, TILE_CHANNEL), 23);

        // A wall along x near the low edge: toward -x the run ends at x = 0, toward +x before a side piece.
        ClearWorldGrid();
        Fill(3, 40, 3, 100, 104, TILE_WALL), Fill(3, 40, 3, 101, 103, TILE_WALL_CORE);
        Put(30, 2, 102, TILE_CHANNEL_SIDE);
        srand(seed);
        TryOutlet(20, 102);
        EXPECT_EQ(CountTiles(2, TILE_CHANNEL), r1 == 0 ? 10 : 21);
        ExpectCells({{r1 == 0 ? 29 : 0, 2, 102, TILE_CHANNEL, 0}, {30, 2, 102, TILE_CHANNEL_SIDE, 0}});
    }
    EXPECT_TRUE(seen[0] && seen[1]);
}

TEST(Channels, TrimAndGapClosingOnCraftedLayers)
{
    ClearWorldGrid();
    Fill(100, 100, 2, 80, 90, TILE_CHANNEL, 1);
    Put(100, 2, 79, TILE_ROCK), Put(101, 2, 91, TILE_ROCK);  // beside (100, 80), diagonal to (100, 90)
    TrimChannelsAtRock();
    ExpectCells({{100, 2, 80, TILE_EMPTY, 1}, {100, 2, 90, TILE_EMPTY, 1}});
    EXPECT_EQ(CountTiles(2, TILE_CHANNEL), 9) << "cleared cells do not clear their neighbours";

    for (int method = 0; method < 2; method++) {
        SCOPED_TRACE(method);
        ClearWorldGrid();
        // A one-cell gap along z; a two-cell gap; a gap along x whose fill closes one along z;
        // a gap holding a side piece; a diagonal pair.
        for (auto c : {std::make_pair(50, 50), {50, 52}, {60, 50}, {60, 53}, {100, 100}, {102, 100}, {101, 98},
                       {150, 150}, {152, 150}, {200, 200}, {201, 201}})
            Put(c.first, 2, c.second, TILE_CHANNEL);
        Put(151, 2, 150, TILE_CHANNEL_SIDE, 2);
        if (method == 0)
            CloseChannelGapsByRescanning();
        else
            CloseChannelGaps();
        EXPECT_EQ(CountTiles(2, TILE_CHANNEL), 11 + 3);
        ExpectCells({{50, 2, 51, TILE_CHANNEL, 0}, {101, 2, 100, TILE_CHANNEL, 0}, {101, 2, 99, TILE_CHANNEL, 0},
                     {151, 2, 150, TILE_CHANNEL_SIDE, 2}});
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
        fills -= CountTiles(2, TILE_CHANNEL);
        CloseChannelGapsByRescanning();
        fills += CountTiles(2, TILE_CHANNEL);
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
    // A lone cell; pairs making inner corners at (100|130|160|190, 100); two diagonal cells around (200, 200).
    for (auto c : {std::make_pair(50, 50), {101, 100}, {100, 101}, {131, 100}, {130, 99}, {159, 100}, {160, 101},
                   {189, 100}, {190, 99}, {201, 201}, {199, 199}, {51, 80}})
        Put(c.first, 2, c.second, TILE_CHANNEL);
    Put(50, 2, 80, TILE_ROCK, 2);  // a non-empty cell keeps what it holds
    AddChannelSidesAndCorners();
    ExpectCells({{51, 2, 50, TILE_CHANNEL_SIDE, 2}, {49, 2, 50, TILE_CHANNEL_SIDE, 0},
                 {50, 2, 49, TILE_CHANNEL_SIDE, 3}, {50, 2, 51, TILE_CHANNEL_SIDE, 1},
                 {51, 2, 51, TILE_CHANNEL_OUTER_CORNER, 1}, {49, 2, 49, TILE_CHANNEL_OUTER_CORNER, 3},
                 {49, 2, 51, TILE_CHANNEL_OUTER_CORNER, 0}, {51, 2, 49, TILE_CHANNEL_OUTER_CORNER, 2},
                 {100, 2, 100, TILE_CHANNEL_INNER_CORNER, 3}, {130, 2, 100, TILE_CHANNEL_INNER_CORNER, 0},
                 {160, 2, 100, TILE_CHANNEL_INNER_CORNER, 2}, {190, 2, 100, TILE_CHANNEL_INNER_CORNER, 1},
                 {50, 2, 52, TILE_EMPTY, 0}, {200, 2, 200, TILE_EMPTY, 0}, {50, 2, 80, TILE_ROCK, 2}});

    // Heads go under every outlet and keep the orientation of the cell they replace.
    Put(100, 3, 140, TILE_WALL_OUTLET, 1), Put(100, 2, 140, TILE_CHANNEL_SIDE, 3);
    Put(120, 3, 140, TILE_WALL_OUTLET, 0), Put(120, 2, 140, TILE_EMPTY, 1);
    MarkChannelHeads();
    ExpectCells({{100, 2, 140, TILE_CHANNEL_HEAD, 3}, {120, 2, 140, TILE_CHANNEL_HEAD, 1}});
    EXPECT_EQ(CountTiles(2, TILE_CHANNEL_HEAD), 2);
}
