#include "grid_helpers.h"
#include "worldgen/bridges.h"

TEST(Bridges, WorkedExampleOnLayerSevenAndWhatItBlocksAfterwards)
{
    ClearWorldGrid();
    Put(120, 7, 80, TILE_WALL_COLUMN, 0), Put(115, 7, 80, TILE_THICK_WALL_COLUMN, 2);
    ASSERT_TRUE(TryPlaceBridge(120, 7, 80));
    ExpectCells({{120, 7, 80, TILE_BRIDGE_END, 0}, {115, 7, 80, TILE_BRIDGE_END, 2}, {116, 7, 80, TILE_BRIDGE_SPAN, 0},
                 {119, 7, 80, TILE_BRIDGE_SPAN, 0}});
    EXPECT_EQ(CountTiles(7, TILE_EMPTY), 250 * 250 - 6);
    // An end is no longer a column: it neither starts a bridge nor receives one; a span blocks a search.
    EXPECT_FALSE(TryPlaceBridge(120, 7, 80));
    Put(124, 7, 80, TILE_WALL_COLUMN, 0);
    EXPECT_FALSE(TryPlaceBridge(124, 7, 80));
    Put(118, 7, 84, TILE_WALL_COLUMN, 3), Put(118, 7, 76, TILE_WALL_COLUMN, 1);
    EXPECT_FALSE(TryPlaceBridge(118, 7, 84));
    EXPECT_EQ(CountTiles(7, TILE_EMPTY), 250 * 250 - 9);
}

TEST(Bridges, GapLengthDecidesThePiecesAndOnlyFacingColumnsJoin)
{
    // Each case: a start column, a far cell `distance` cells on toward -x (o 0) or -z (o 3).
    struct Case { int startTile, o, distance, farTile, farO; bool placed; };
    const Case cases[] = {
        {TILE_THICK_WALL_COLUMN, 3, 2, TILE_WALL_COLUMN, 1, true},   // one empty cell: a short bridge
        {TILE_WALL_COLUMN, 0, 2, TILE_WALL_COLUMN, 0, true},
        {TILE_WALL_COLUMN, 3, 1, TILE_WALL_COLUMN, 3, true},         // side by side: two ends
        {TILE_WALL_COLUMN, 3, 13, TILE_THICK_WALL_COLUMN, 1, true},  // twelve empty cells
        {TILE_WALL_COLUMN, 0, 14, TILE_WALL_COLUMN, 2, false},       // thirteen
        {TILE_WALL_COLUMN, 1, 2, TILE_WALL_COLUMN, 1, false},        // facing +z or +x starts nothing
        {TILE_THICK_WALL_COLUMN, 2, 2, TILE_WALL_COLUMN, 2, false},
        {TILE_CORNER_COLUMN, 0, 2, TILE_WALL_COLUMN, 0, false},      // nor does a corner column
        {TILE_WALL_COLUMN, 0, 4, TILE_CORNER_COLUMN, 0, false},      // the far cell must be a 3 or 4
        {TILE_WALL_COLUMN, 0, 4, TILE_ROOM_TOP, 0, false},
        {TILE_WALL_COLUMN, 0, 4, TILE_BRIDGE_END, 0, false},
        {TILE_WALL_COLUMN, 3, 4, TILE_FLOOR, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.startTile << " o " << c.o << " distance " << c.distance << " far " << c.farTile);
        int dx = c.o == 3 ? 0 : -1, dz = c.o == 3 ? -1 : 0;  // the look-out direction of o 0 and 3
        ClearWorldGrid();
        Put(100, 9, 100, c.startTile, c.o), Put(100 + c.distance * dx, 9, 100 + c.distance * dz, c.farTile, c.farO);
        EXPECT_EQ(TryPlaceBridge(100, 9, 100), c.placed);
        int endTile = c.distance == 2 ? TILE_EMPTY : TILE_BRIDGE_END;
        ExpectCells({{100, 9, 100, c.placed ? endTile : c.startTile, c.o},
                     {100 + c.distance * dx, 9, 100 + c.distance * dz, c.placed ? endTile : c.farTile, c.farO}});
        for (int k = 1; k < c.distance; k++)
            ExpectCells({{100 + k * dx, 9, 100 + k * dz,
                          !c.placed ? TILE_EMPTY : c.distance == 2 ? TILE_BRIDGE_SHORT : TILE_BRIDGE_SPAN,
                          c.placed ? (dx != 0 ? 0 : 1) : 0}});
        EXPECT_EQ(250 * 250 - CountTiles(9, TILE_EMPTY), c.placed ? (c.distance == 2 ? 1 : c.distance + 1) : 2);
    }
    // A search reaching coordinate 0 empty finds nothing; a column at coordinate 0 ends one.
    ClearWorldGrid();
    Put(5, 10, 40, TILE_WALL_COLUMN, 0), Put(40, 10, 5, TILE_WALL_COLUMN, 3);
    EXPECT_FALSE(TryPlaceBridge(5, 10, 40));
    EXPECT_FALSE(TryPlaceBridge(40, 10, 5));
    Put(13, 11, 70, TILE_WALL_COLUMN, 0), Put(0, 11, 70, TILE_WALL_COLUMN, 2);
    ASSERT_TRUE(TryPlaceBridge(13, 11, 70));
    ExpectCells({{0, 11, 70, TILE_BRIDGE_END, 2}, {1, 11, 70, TILE_BRIDGE_SPAN, 0}, {12, 11, 70, TILE_BRIDGE_SPAN, 0}});
}

TEST(Bridges, PassDrawsXThenZOnLayersFiveToElevenOnly)
{
    // Layers 4 and 12 are full of columns that would bridge at any drawn cell; the first attempt's
    // cell on layer 5 holds a bridgeable column.
    srand(901);
    int x0 = rand() % 248 + 1, z0 = rand() % 248 + 1;
    ASSERT_GE(x0, 3);
    ClearWorldGrid();
    Fill(0, 249, 4, 0, 249, TILE_WALL_COLUMN, 0), Fill(0, 249, 12, 0, 249, TILE_WALL_COLUMN, 3);
    Put(x0, 5, z0, TILE_WALL_COLUMN, 0), Put(x0 - 2, 5, z0, TILE_WALL_COLUMN, 2);
    srand(901);
    GenerateBridges();
    ExpectDrawsTaken(901, 2 * 7 * BRIDGE_ATTEMPTS_PER_LAYER);
    ExpectCells({{x0 - 1, 5, z0, TILE_BRIDGE_SHORT, 0}});
    EXPECT_EQ(CountTiles(4, TILE_WALL_COLUMN) + CountTiles(12, TILE_WALL_COLUMN), 2 * 250 * 250);
}
