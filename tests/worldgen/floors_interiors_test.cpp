#include <cstring>

#include "grid_helpers.h"
#include "worldgen/floors_interiors.h"

namespace {

HeightMap heightMap;

}  // namespace

TEST(FloorsInteriors, FloorPiecesFollowTheWallsBesideThem)
{
    // Rock everywhere but an open pocket, so that only crafted cells are non-floor.
    ClearWorldGrid();
    Fill(0, 249, 3, 0, 249, TILE_ROCK);
    Fill(20, 60, 3, 20, 60, TILE_EMPTY);
    Fill(30, 50, 3, 40, 40, TILE_WALL), Fill(40, 40, 3, 30, 50, TILE_WALL);  // a thin wall cross at (40, 40)
    Put(25, 3, 25, TILE_WALL_CORNER, 2);                                     // a wall corner alone beside floor
    Put(57, 3, 25, TILE_WALL_CORE), Put(60, 3, 25, TILE_WALL);  // thin wall at +x, core two cells away at -x
    Put(57, 3, 55, TILE_WALL_CORE), Put(59, 3, 30, TILE_WALL_CORE);  // single cores, seen from each side
    Put(24, 3, 50, TILE_WALL), Put(25, 3, 51, TILE_WALL), Put(27, 3, 50, TILE_WALL_CORE);  // walls -x +z, core +x
    LayFloors();
    ChooseFloorPieces();
    ExpectCells({// beside one arm of the cross: walls at -z, +z, -x, +x
                 {35, 3, 41, TILE_WALL_FLOOR, 3}, {35, 3, 39, TILE_WALL_FLOOR, 1}, {41, 3, 35, TILE_WALL_FLOOR, 0},
                 {39, 3, 35, TILE_WALL_FLOOR, 2}, {51, 3, 40, TILE_WALL_FLOOR, 0}, {29, 3, 40, TILE_WALL_FLOOR, 2},
                 // in its angles: -x +z, +x -z, +x +z, -x -z
                 {41, 3, 39, TILE_CORNER_FLOOR, 0}, {39, 3, 41, TILE_CORNER_FLOOR, 2},
                 {39, 3, 39, TILE_CORNER_FLOOR, 1}, {41, 3, 41, TILE_CORNER_FLOOR, 3},
                 {35, 3, 42, TILE_FLOOR, 0}, {26, 3, 25, TILE_FLOOR, 0}, {25, 3, 26, TILE_FLOOR, 0},
                 // the core test comes after the wall test
                 {59, 3, 25, TILE_THICK_WALL_FLOOR, 0},
                 {57, 3, 53, TILE_THICK_WALL_FLOOR, 1}, {57, 3, 30, TILE_THICK_WALL_FLOOR, 2},
                 {57, 3, 57, TILE_THICK_WALL_FLOOR, 3}, {59, 3, 55, TILE_THICK_WALL_FLOOR, 0},
                 {55, 3, 55, TILE_THICK_WALL_FLOOR, 2}, {58, 3, 55, TILE_FLOOR, 0},
                 // the corner test comes last of all
                 {25, 3, 50, TILE_CORNER_FLOOR, 0},
                 {10, 3, 10, TILE_ROCK, 0}, {40, 3, 40, TILE_WALL, 0}, {25, 3, 25, TILE_WALL_CORNER, 2}});
}

TEST(FloorsInteriors, HeightsGoToWholeStretchesAndInteriorsStackUpToThem)
{
    // Row 100 has floor at z 105..110, row 101 at z 100..110; rows 103..105 a block of their own.
    memset(heightMap, 0, sizeof heightMap);
    for (int z = 100; z <= 110; z++) {
        heightMap[100][z] = z >= 105;
        heightMap[101][z] = 1;
    }
    for (int x = 103; x <= 105; x++)
        for (int z = 50; z <= 52; z++)
            heightMap[x][z] = 1;
    heightMap[249][248] = heightMap[249][249] = 1;  // the last row runs to the grid's end
    srand(99);
    int h1 = rand() % 7 + 3, h2 = rand() % 7 + 3, h3 = rand() % 7 + 3, h4 = rand() % 7 + 3;
    srand(99);
    AssignRoomHeights(heightMap);
    ExpectDrawsTaken(99, 4);
    for (int z = 100; z <= 110; z++) {
        EXPECT_EQ(heightMap[100][z], z >= 105 ? h1 : 0) << z;
        EXPECT_EQ(heightMap[101][z], h2) << z << ": a later start re-heights the whole row";
    }
    EXPECT_EQ(heightMap[105][52], h3);
    EXPECT_EQ(heightMap[102][105], 0);
    EXPECT_EQ(heightMap[249][248], h4);
    EXPECT_EQ(heightMap[249][249], h4);

    // Each floor kind with its height: the cells above take the floor's orientation.
    ClearWorldGrid();
    memset(heightMap, 0, sizeof heightMap);
    const int floors[6][3] = {{TILE_FLOOR, 0, 3},           {TILE_WALL_FLOOR, 2, 3}, {TILE_CORNER_FLOOR, 1, 9},
                              {TILE_THICK_WALL_FLOOR, 3, 4}, {TILE_EDGE_FEATURE, 2, 5}, {TILE_FLOOR, 0, 9}};
    for (int k = 0; k < 6; k++) {
        Put(100 + k, 3, 100, floors[k][0], floors[k][1]);
        heightMap[100 + k][100] = floors[k][2];
    }
    BuildInteriors(heightMap);
    const int column[6] = {TILE_FLOOR, TILE_WALL_COLUMN, TILE_CORNER_COLUMN, TILE_THICK_WALL_COLUMN, TILE_EMPTY,
                           TILE_FLOOR};
    for (int k = 0; k < 6; k++)
        for (int y = 4; y <= 14; y++) {
            int h = floors[k][2];
            int want = y > 2 + h ? TILE_EMPTY : column[k] == TILE_FLOOR && y == 2 + h ? TILE_ROOM_TOP : column[k];
            EXPECT_EQ(T(100 + k, y, 100), want) << k << " " << y;
            EXPECT_EQ(O(100 + k, y, 100), want == TILE_EMPTY ? 0 : floors[k][1]) << k << " " << y;
        }
}
