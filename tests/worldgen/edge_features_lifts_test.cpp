#include <functional>

#include "grid_helpers.h"
#include "worldgen/edge_features_lifts.h"

namespace {

// Plain floor over rows x0..x1 and columns z0..z1, stacked with floor up to a room top on layer `top`.
void Floor(int x0, int x1, int z0, int z1, int top = 0)
{
    for (int y = 3; y <= top || y == 3; y++)
        Fill(x0, x1, y, z0, z1, y == top ? TILE_ROOM_TOP : TILE_FLOOR);
}

// Seeds the generator with the first seed whose first 12 draws satisfy `fits`, and returns those draws.
void SeedWhere(const std::function<bool(const int*)>& fits, int* draws)
{
    for (unsigned seed = 1;; seed++) {
        srand(seed);
        for (int i = 0; i < 12; i++)
            draws[i] = rand();
        if (fits(draws))
            return srand(seed);
    }
}

}  // namespace

TEST(EdgeFeaturesAndLifts, BlocksClearTheirFarRowAndColumnAndSplitIrregularFloors)
{
    ClearWorldGrid();
    Floor(40, 45, 70, 73);
    Floor(46, 46, 71, 71), Floor(41, 41, 74, 74);  // in the far row and column: lost with the block
    Floor(47, 47, 71, 71);                          // beyond both: a block of its own
    Floor(60, 62, 70, 72), Floor(63, 65, 70, 78);  // an L: rows 63..65 reach on to column 78
    Floor(80, 80, 80, 80);                          // turned into something else after marking
    MarkFloorBlocks();
    Put(80, 3, 80, TILE_EDGE_FEATURE);
    int scan = 0;
    FloorBlock b;
    for (const FloorBlock& want : {FloorBlock{40, 70, 6, 4}, {47, 71, 1, 1}, {60, 70, 6, 3}, {63, 74, 3, 5}}) {
        ASSERT_TRUE(NextFloorBlock(&scan, &b));
        EXPECT_TRUE(b.x0 == want.x0 && b.z0 == want.z0 && b.length == want.length && b.width == want.width)
            << b.x0 << "," << b.z0 << " " << b.length << " x " << b.width;
    }
    EXPECT_FALSE(NextFloorBlock(&scan, &b));
    for (int x = 40; x <= 46; x++)
        for (int z = 70; z <= 74; z++)
            EXPECT_EQ(floorBlockMark[x * 250 + z], 0) << x << "," << z;
}

TEST(EdgeFeaturesAndLifts, WorkedExampleLiftAndShaftsThroughTheRoomStack)
{
    ClearWorldGrid();
    Floor(40, 45, 70, 73, 7);
    // The edge floor ring, each side with its own orientation.
    Fill(39, 39, 3, 70, 73, TILE_WALL_FLOOR, 0), Fill(46, 46, 3, 70, 73, TILE_WALL_FLOOR, 2);
    Fill(40, 45, 3, 69, 69, TILE_WALL_FLOOR, 3), Fill(40, 45, 3, 74, 74, TILE_WALL_FLOOR, 1);
    // No core beyond any side: draws xa, za, xb, zb; -x certain, then chance draws for +x (hit),
    // -z and +z (misses); the lift xs = 43, zs = 72, r = 2.
    int d[12];
    SeedWhere([](const int* d) {
        return d[4] % 5 == 0 && d[5] % 5 && d[6] % 5 && d[7] % 6 == 3 && d[8] % 4 == 2 && d[9] % 4 == 2;
    }, d);
    GenerateEdgeFeaturesAndLifts();
    EXPECT_EQ(rand(), d[10]);
    int zb = 70 + d[3] % 4;
    ExpectCells({{39, 3, zb, TILE_EDGE_FEATURE, 0}, {46, 3, zb, TILE_EDGE_FEATURE, 2}, {43, 3, 72, TILE_LIFT_BOTTOM, 2},
                 {43, 4, 72, TILE_LIFT_SHAFT, 2}, {43, 6, 72, TILE_LIFT_SHAFT, 2}, {43, 7, 72, TILE_LIFT_TOP, 2},
                 {43, 8, 72, TILE_EMPTY, 0}, {42, 7, 72, TILE_ROOM_TOP, 0}});
    EXPECT_EQ(CountTiles(3, TILE_EDGE_FEATURE), 2);
    EXPECT_EQ(CountTiles(3, TILE_LIFT_BOTTOM) + CountTiles(5, TILE_LIFT_SHAFT) + CountTiles(7, TILE_LIFT_TOP), 3);

    // Floor on 4 and top on 5; a stack broken at 5; a stack up to the top layer (a read past
    // layer 14 would land on (91, 0, 90)).
    ClearWorldGrid();
    Floor(50, 50, 50, 50, 5), Floor(50, 50, 90, 90, 7), Put(50, 5, 90, TILE_WALL_COLUMN);
    Floor(90, 90, 90, 90, 14), Put(90, 14, 90, TILE_FLOOR), Put(91, 0, 90, TILE_FLOOR);
    srand(1);
    GenerateEdgeFeaturesAndLifts();
    struct Lift { int x, z, top; };
    for (const Lift& lift : {Lift{50, 50, 5}, Lift{50, 90, 4}, Lift{90, 90, 14}}) {
        EXPECT_EQ(T(lift.x, 3, lift.z), TILE_LIFT_BOTTOM);
        for (int y = 4; y <= lift.top; y++)
            ExpectCells({{lift.x, y, lift.z, y == lift.top ? TILE_LIFT_TOP : TILE_LIFT_SHAFT, O(lift.x, 3, lift.z)}});
    }
    ExpectCells({{50, 6, 50, TILE_EMPTY, 0}, {50, 6, 90, TILE_FLOOR, 0}, {91, 0, 90, TILE_FLOOR, 0}});
}

TEST(EdgeFeaturesAndLifts, WallCoreThreeCellsOutDecidesTheTestedFeatures)
{
    int d[12];
    for (int distance : {3, 2}) {
        // A one-cell block with a core `distance` cells beyond each side.
        ClearWorldGrid();
        Floor(60, 60, 60, 60);
        Put(60 - distance, 3, 60, TILE_WALL_CORE), Put(60 + distance, 3, 60, TILE_WALL_CORE);
        Put(60, 3, 60 - distance, TILE_WALL_CORE), Put(60, 3, 60 + distance, TILE_WALL_CORE);
        if (distance == 3)  // four tested features, then four chance draws; the lift takes three more
            SeedWhere([](const int*) { return true; }, d);
        else  // no test holds: the -x feature is certain and three sides draw, all missing here
            SeedWhere([](const int* d) { return d[4] % 5 && d[5] % 5 && d[6] % 5; }, d);
        GenerateEdgeFeaturesAndLifts();
        int lift = distance == 3 ? 8 : 7;  // index of the lift's first draw
        EXPECT_EQ(rand(), d[lift + 3]);
        EXPECT_EQ(T(59, 3, 60), TILE_EDGE_FEATURE);
        EXPECT_EQ(CountTiles(3, TILE_EDGE_FEATURE), distance == 3 ? 4 : 1);
        ExpectCells({{60, 3, 60, TILE_LIFT_BOTTOM, d[lift + 2] % 4}});
    }
    // A feature that lands on a still-marked floor cell starts no block of its own.
    ClearWorldGrid();
    Floor(40, 41, 72, 75), Floor(41, 41, 71, 71);  // the second is marked, outside the first block
    Put(41, 3, 69, TILE_WALL_CORE);
    SeedWhere([](const int* d) { return d[0] % 2 == 1; }, d);  // xa = 41: the -z test holds there
    GenerateEdgeFeaturesAndLifts();
    EXPECT_EQ(rand(), d[11]) << "one block in each step: 2 + 2 + 4 chance draws, then 3 for the lift";
    EXPECT_EQ(T(41, 3, 71), TILE_EDGE_FEATURE);
}
