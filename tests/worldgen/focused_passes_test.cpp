// Single steps of the generation passes on crafted layers, where a fault would not show in the
// known-good worlds: gap closing whose fills close further gaps, and the cave reach.
#include "support/test_support.h"
#include "worldgen/generate_world.h"
#include "worldgen/cave_level.h"
#include "worldgen/channels.h"

TEST(FocusedPasses, ChannelTrimAndGapClosingWithFillChains)
{
    ClearWorldGrid();
    Fill(100, 100, CHANNEL_LAYER, 80, 90, TILE_CHANNEL, 1);
    PutCells({{100, 2, 79, TILE_ROCK, 0}, {101, 2, 91, TILE_ROCK, 0}});  // beside (100, 80), diagonal to (100, 90)
    TrimChannelsAtRock();
    ExpectCells({{100, 2, 80, TILE_EMPTY, 1}, {100, 2, 90, TILE_EMPTY, 1}});
    EXPECT_EQ(CountTiles(CHANNEL_LAYER, TILE_CHANNEL), 9) << "cleared cells do not clear their neighbours";
    ClearWorldGrid();
    // A one-cell gap along z; a two-cell gap; a gap along x whose fill closes one along z;
    // a gap holding a side piece; a diagonal pair.
    for (auto c : {std::make_pair(50, 50), {50, 52}, {60, 50}, {60, 53}, {100, 100}, {102, 100}, {101, 98},
                   {150, 150}, {152, 150}, {200, 200}, {201, 201}})
        Put(c.first, CHANNEL_LAYER, c.second, TILE_CHANNEL);
    Put(151, CHANNEL_LAYER, 150, TILE_CHANNEL_SIDE, 2);
    // A staircase where each fill opens the next gap: (21, 20) between the first two cells, then
    // (21 + j, 21 + j) and (22 + j, 21 + j) in turn, 21 fills in one chain.
    PutCells({{20, 2, 20, TILE_CHANNEL, 0}, {22, 2, 20, TILE_CHANNEL, 0}});
    for (int j = 0; j < 10; j++) PutCells({{21 + j, 2, 22 + j, TILE_CHANNEL, 0}, {23 + j, 2, 21 + j, TILE_CHANNEL, 0}});
    CloseChannelGaps();
    ExpectCells({{50, 2, 51, TILE_CHANNEL, 0}, {101, 2, 100, TILE_CHANNEL, 0}, {101, 2, 99, TILE_CHANNEL, 0},
                 {151, 2, 150, TILE_CHANNEL_SIDE, 2}, {60, 2, 51, TILE_EMPTY, 0}, {200, 2, 201, TILE_EMPTY, 0},
                 {21, 2, 20, TILE_CHANNEL, 0}});
    for (int j = 0; j < 10; j++) ExpectCells({{21 + j, 2, 21 + j, TILE_CHANNEL, 0}, {22 + j, 2, 21 + j, TILE_CHANNEL, 0}});
    EXPECT_EQ(CountTiles(CHANNEL_LAYER, TILE_CHANNEL), 11 + 3 + 22 + 21);
}

TEST(FocusedPasses, CaveReachFollowsFourConnectedFloorInsideTheBorder)
{
    ClearWorldGrid();
    Fill(50, 50, 0, 51, 53, TILE_CAVE_FLOOR);
    PutCells({{50, 0, 50, TILE_CAVE_ENTRANCE, 0}, {100, 0, 248, TILE_CAVE_ENTRANCE, 0}, {101, 0, 248, TILE_CAVE_FLOOR, 0},
              {51, 0, 53, TILE_CAVE_FLOOR, 0}, {49, 0, 50, TILE_CAVE_FLOOR, 0},   // joined by a side, beside the entrance's back
              {52, 0, 54, TILE_CAVE_FLOOR, 0}, {70, 0, 70, TILE_CAVE_FLOOR, 0},   // only a corner touches; alone
              {100, 0, 249, TILE_CAVE_FLOOR, 0}});                                 // outside 1..248: never marked
    MarkCaveReach();
    std::vector<int> marked;
    for (int i = 0; i < GRID_SIZE_X * GRID_SIZE_Z; i++)
        if (caveReached[i]) marked.push_back(i);
    EXPECT_EQ(marked, (std::vector<int>{49 * 250 + 50, 50 * 250 + 50, 50 * 250 + 51, 50 * 250 + 52, 50 * 250 + 53,
                                        51 * 250 + 53, 100 * 250 + 248, 101 * 250 + 248}));
    PruneUnreachedCave();
    ExpectCells({{52, 0, 54, TILE_EMPTY, 0}, {70, 0, 70, TILE_EMPTY, 0}, {51, 0, 53, TILE_CAVE_FLOOR, 0}});
}
