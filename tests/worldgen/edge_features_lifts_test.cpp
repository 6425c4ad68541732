#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>

#include "world/world_grid.h"
#include "worldgen/edge_features_lifts.h"

namespace {

WorldCell& At(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)]; }

// Plain floor over rows x0..x1 and columns z0..z1, with `top` the layer of its room top (0: no stack).
void Floor(int x0, int x1, int z0, int z1, int top = 0)
{
    for (int x = x0; x <= x1; x++)
        for (int z = z0; z <= z1; z++) {
            At(x, 3, z).tileType = TILE_FLOOR;
            for (int y = 4; y <= top; y++)
                At(x, y, z).tileType = y == top ? TILE_ROOM_TOP : TILE_FLOOR;
        }
}

// The first seed whose first 12 draws satisfy `fits`; leaves the generator seeded with it.
int SeedWhere(const std::function<bool(const int*)>& fits, int* draws)
{
    for (int seed = 1;; seed++) {
        srand(seed);
        for (int i = 0; i < 12; i++)
            draws[i] = rand();
        if (fits(draws)) {
            srand(seed);
            return seed;
        }
    }
}

int CountTiles(int y, int tile)
{
    int count = 0;
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            count += At(x, y, z).tileType == tile;
    return count;
}

}  // namespace

TEST(EdgeFeaturesAndLifts, BlocksClearTheirFarRowAndColumnAndSplitIrregularFloors)
{
    std::memset(worldGrid, 0, sizeof worldGrid);
    Floor(40, 45, 70, 73);
    Floor(46, 46, 71, 71);  // in the far row, lost with the block
    Floor(41, 41, 74, 74);  // in the far column, lost with the block
    Floor(47, 47, 71, 71);  // beyond both: a block of its own
    Floor(60, 62, 70, 72);  // an L: a 3-wide arm whose rows 63..65 reach on to column 78
    Floor(63, 65, 70, 78);
    Floor(80, 80, 80, 80);  // a floor cell turned into something else after marking
    MarkFloorBlocks();
    At(80, 3, 80).tileType = TILE_EDGE_FEATURE;

    const FloorBlock expected[] = {{40, 70, 6, 4}, {47, 71, 1, 1}, {60, 70, 6, 3}, {63, 74, 3, 5}};
    int scan = 0;
    FloorBlock block;
    for (const FloorBlock& want : expected) {
        ASSERT_TRUE(NextFloorBlock(&scan, &block));
        EXPECT_EQ(block.x0, want.x0);
        EXPECT_EQ(block.z0, want.z0);
        EXPECT_EQ(block.length, want.length);
        EXPECT_EQ(block.width, want.width);
    }
    EXPECT_FALSE(NextFloorBlock(&scan, &block));
    for (int x = 40; x <= 46; x++)
        for (int z = 70; z <= 74; z++)
            EXPECT_EQ(floorBlockMark[x * 250 + z], 0) << x << "," << z;
    EXPECT_EQ(floorBlockMark[80 * 250 + 80], 0);
}

TEST(EdgeFeaturesAndLifts, WorkedExampleLiftAndFeaturesOfAPlainRoom)
{
    std::memset(worldGrid, 0, sizeof worldGrid);
    Floor(40, 45, 70, 73, 7);
    // The edge floor ring, each side with its own orientation.
    for (int z = 70; z <= 73; z++) {
        At(39, 3, z) = WorldCell{TILE_WALL_FLOOR, 0};
        At(46, 3, z) = WorldCell{TILE_WALL_FLOOR, 2};
    }
    for (int x = 40; x <= 45; x++) {
        At(x, 3, 69) = WorldCell{TILE_WALL_FLOOR, 3};
        At(x, 3, 74) = WorldCell{TILE_WALL_FLOOR, 1};
    }
    // No core beyond any side: features xa, za, xb, zb; -x certain, then chance draws for +x (hit),
    // -z and +z (misses); the lift xs = 43, zs = 72, r = 2.
    int d[12];
    SeedWhere([](const int* d) { return d[4] % 5 == 0 && d[5] % 5 && d[6] % 5 && d[7] % 6 == 3 && d[8] % 4 == 2 &&
                                        d[9] % 4 == 2; }, d);
    GenerateEdgeFeaturesAndLifts();
    EXPECT_EQ(rand(), d[10]);

    int zb = 70 + d[3] % 4;
    EXPECT_EQ(At(39, 3, zb).tileType, TILE_EDGE_FEATURE);
    EXPECT_EQ(At(39, 3, zb).orientation, 0);
    EXPECT_EQ(At(46, 3, zb).tileType, TILE_EDGE_FEATURE);
    EXPECT_EQ(At(46, 3, zb).orientation, 2);
    EXPECT_EQ(CountTiles(3, TILE_EDGE_FEATURE), 2);

    EXPECT_EQ(At(43, 3, 72).tileType, TILE_LIFT_BOTTOM);
    for (int y = 4; y <= 6; y++)
        EXPECT_EQ(At(43, y, 72).tileType, TILE_LIFT_SHAFT);
    EXPECT_EQ(At(43, 7, 72).tileType, TILE_LIFT_TOP);
    for (int y = 3; y <= 7; y++)
        EXPECT_EQ(At(43, y, 72).orientation, 2);
    EXPECT_EQ(At(43, 8, 72).tileType, TILE_EMPTY);
    EXPECT_EQ(CountTiles(3, TILE_LIFT_BOTTOM), 1);
    EXPECT_EQ(At(42, 7, 72).tileType, TILE_ROOM_TOP);
}

TEST(EdgeFeaturesAndLifts, WallCoreThreeCellsOutDecidesTheTestedFeatures)
{
    int d[12];
    // Cores three cells beyond every side of a one-cell block: four tested features, then four
    // chance draws; the lift takes three more.
    std::memset(worldGrid, 0, sizeof worldGrid);
    Floor(60, 60, 60, 60);
    for (int k = 0; k < 4; k++)
        At(60 + (k == 0 ? -3 : k == 1 ? 3 : 0), 3, 60 + (k == 2 ? -3 : k == 3 ? 3 : 0)).tileType = TILE_WALL_CORE;
    SeedWhere([](const int*) { return true; }, d);
    GenerateEdgeFeaturesAndLifts();
    EXPECT_EQ(rand(), d[11]);
    EXPECT_EQ(At(59, 3, 60).tileType, TILE_EDGE_FEATURE);
    EXPECT_EQ(At(61, 3, 60).tileType, TILE_EDGE_FEATURE);
    EXPECT_EQ(At(60, 3, 59).tileType, TILE_EDGE_FEATURE);
    EXPECT_EQ(At(60, 3, 61).tileType, TILE_EDGE_FEATURE);
    EXPECT_EQ(At(60, 3, 60).tileType, TILE_LIFT_BOTTOM);
    EXPECT_EQ(At(60, 3, 60).orientation, d[10] % 4);

    // Cores only two cells out pass no test: the -x feature is certain and three sides draw.
    std::memset(worldGrid, 0, sizeof worldGrid);
    Floor(60, 60, 60, 60);
    for (int k = 0; k < 4; k++)
        At(60 + (k == 0 ? -2 : k == 1 ? 2 : 0), 3, 60 + (k == 2 ? -2 : k == 3 ? 2 : 0)).tileType = TILE_WALL_CORE;
    SeedWhere([](const int* d) { return d[4] % 5 && d[5] % 5 && d[6] % 5; }, d);
    GenerateEdgeFeaturesAndLifts();
    EXPECT_EQ(rand(), d[10]);
    EXPECT_EQ(At(59, 3, 60).tileType, TILE_EDGE_FEATURE);
    EXPECT_EQ(CountTiles(3, TILE_EDGE_FEATURE), 1);
    EXPECT_EQ(At(60, 3, 60).orientation, d[9] % 4);
}

TEST(EdgeFeaturesAndLifts, FeatureOnAStillMarkedFloorCellStartsNoBlock)
{
    int d[12];
    std::memset(worldGrid, 0, sizeof worldGrid);
    Floor(40, 41, 72, 75);
    Floor(41, 41, 71, 71);  // marked, outside the first block's rectangle
    At(41, 3, 69).tileType = TILE_WALL_CORE;
    SeedWhere([](const int* d) { return d[0] % 2 == 1; }, d);  // xa = 41: the -z test holds there
    GenerateEdgeFeaturesAndLifts();
    // One block in each step: 2 + 2 + 4 chance draws, then 3 for the lift.
    EXPECT_EQ(rand(), d[11]);
    EXPECT_EQ(At(41, 3, 71).tileType, TILE_EDGE_FEATURE);
    EXPECT_EQ(CountTiles(3, TILE_LIFT_BOTTOM), 1);
}

TEST(EdgeFeaturesAndLifts, EveryBlockOfAnLShapedFloorGetsItsOwnLift)
{
    std::memset(worldGrid, 0, sizeof worldGrid);
    Floor(60, 62, 70, 72, 5);
    Floor(63, 65, 70, 78, 5);
    srand(7);
    GenerateEdgeFeaturesAndLifts();
    int inFirst = 0, inSecond = 0;
    for (int x = 60; x <= 65; x++)
        for (int z = 70; z <= 78; z++)
            if (At(x, 3, z).tileType == TILE_LIFT_BOTTOM) {
                inFirst += z <= 72;
                inSecond += x >= 63 && z >= 74;
                EXPECT_EQ(At(x, 4, z).tileType, TILE_LIFT_SHAFT);
                EXPECT_EQ(At(x, 5, z).tileType, TILE_LIFT_TOP);
            }
    EXPECT_EQ(inFirst, 1);
    EXPECT_EQ(inSecond, 1);
    EXPECT_EQ(CountTiles(3, TILE_LIFT_BOTTOM), 2);
}

TEST(EdgeFeaturesAndLifts, ShaftClimbsOnlyThroughTheRoomStackAndStopsAtTheTopLayer)
{
    int d[12];
    std::memset(worldGrid, 0, sizeof worldGrid);
    Floor(50, 50, 50, 50, 5);                       // floor on layer 4, top on 5
    Floor(50, 50, 90, 90, 7);
    At(50, 5, 90).tileType = TILE_WALL_COLUMN;      // the stack breaks at layer 5
    Floor(90, 90, 90, 90, 14);
    At(90, 14, 90).tileType = TILE_FLOOR;           // stacked up to the top layer
    At(91, 0, 90).tileType = TILE_FLOOR;            // where a read past layer 14 would land
    SeedWhere([](const int*) { return true; }, d);
    GenerateEdgeFeaturesAndLifts();

    const int expectTop[3][3] = {{50, 50, 5}, {50, 90, 4}, {90, 90, 14}};
    for (const auto& lift : expectTop) {
        int x = lift[0], z = lift[1], top = lift[2];
        EXPECT_EQ(At(x, 3, z).tileType, TILE_LIFT_BOTTOM);
        for (int y = 4; y < top; y++)
            EXPECT_EQ(At(x, y, z).tileType, TILE_LIFT_SHAFT) << y;
        EXPECT_EQ(At(x, top, z).tileType, TILE_LIFT_TOP);
        for (int y = 4; y <= top; y++)
            EXPECT_EQ(At(x, y, z).orientation, At(x, 3, z).orientation);
    }
    EXPECT_EQ(At(50, 6, 50).tileType, TILE_EMPTY);
    EXPECT_EQ(At(50, 5, 90).tileType, TILE_WALL_COLUMN);
    EXPECT_EQ(At(50, 6, 90).tileType, TILE_FLOOR);
    EXPECT_EQ(At(91, 0, 90).tileType, TILE_FLOOR);
}
