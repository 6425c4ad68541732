#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "world/world_grid.h"
#include "worldgen/floors_interiors.h"
#include "worldgen/generate_world.h"

namespace {

int T(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)].tileType; }
int O(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)].orientation; }

void Put(int x, int y, int z, int tile, int orientation = 0)
{
    worldGrid[CellIndex(x, y, z)] = WorldCell{(uint8_t)tile, (uint8_t)orientation};
}

void Fill3(int x0, int x1, int z0, int z1, int tile)
{
    for (int x = x0; x <= x1; x++)
        for (int z = z0; z <= z1; z++)
            Put(x, 3, z, tile);
}

HeightMap heightMap;

}  // namespace

TEST(FloorsInteriors, FloorPiecesFollowTheWallsBesideThem)
{
    // Rock everywhere, with open pockets to hold each case apart.
    ClearWorldGrid();
    Fill3(0, 249, 0, 249, TILE_ROCK);
    Fill3(20, 60, 20, 60, TILE_EMPTY);
    // Wall-side pieces: a thin wall cross with its arms along x and z at (40, 40).
    Fill3(30, 50, 40, 40, TILE_WALL);
    Fill3(40, 40, 30, 50, TILE_WALL);
    // A wall corner (9) alone beside a floor cell.
    Put(25, 3, 25, TILE_WALL_CORNER, 2);
    // Thin wall at +x and core two cells away at -x.
    Put(57, 3, 25, TILE_WALL_CORE);
    Put(60, 3, 25, TILE_WALL);
    // Single core cells, looked at from two cells away on each side.
    Put(57, 3, 55, TILE_WALL_CORE);
    Put(59, 3, 30, TILE_WALL_CORE);
    LayFloors();
    ChooseFloorPieces();

    // Beside one arm: orientation by the side the wall is on.
    EXPECT_EQ(T(35, 3, 41), TILE_WALL_FLOOR); EXPECT_EQ(O(35, 3, 41), 3);  // wall at -z
    EXPECT_EQ(T(35, 3, 39), TILE_WALL_FLOOR); EXPECT_EQ(O(35, 3, 39), 1);  // wall at +z
    EXPECT_EQ(T(41, 3, 35), TILE_WALL_FLOOR); EXPECT_EQ(O(41, 3, 35), 0);  // wall at -x
    EXPECT_EQ(T(39, 3, 35), TILE_WALL_FLOOR); EXPECT_EQ(O(39, 3, 35), 2);  // wall at +x
    // In the four angles of the cross: corner floors.
    EXPECT_EQ(T(41, 3, 39), TILE_CORNER_FLOOR); EXPECT_EQ(O(41, 3, 39), 0);  // -x and +z
    EXPECT_EQ(T(39, 3, 41), TILE_CORNER_FLOOR); EXPECT_EQ(O(39, 3, 41), 2);  // +x and -z
    EXPECT_EQ(T(39, 3, 39), TILE_CORNER_FLOOR); EXPECT_EQ(O(39, 3, 39), 1);  // +x and +z
    EXPECT_EQ(T(41, 3, 41), TILE_CORNER_FLOOR); EXPECT_EQ(O(41, 3, 41), 3);  // -x and -z
    // Past the ends of the arms the wall is ahead along the arm.
    EXPECT_EQ(T(51, 3, 40), TILE_WALL_FLOOR); EXPECT_EQ(O(51, 3, 40), 0);
    EXPECT_EQ(T(29, 3, 40), TILE_WALL_FLOOR); EXPECT_EQ(O(29, 3, 40), 2);
    EXPECT_EQ(T(35, 3, 42), TILE_FLOOR);

    EXPECT_EQ(T(26, 3, 25), TILE_FLOOR);
    EXPECT_EQ(T(25, 3, 26), TILE_FLOOR);
    EXPECT_EQ(O(26, 3, 25), 0);

    // The core test comes after the wall test: thick-wall floor, orientation 0.
    EXPECT_EQ(T(59, 3, 25), TILE_THICK_WALL_FLOOR); EXPECT_EQ(O(59, 3, 25), 0);
    EXPECT_EQ(T(57, 3, 53), TILE_THICK_WALL_FLOOR); EXPECT_EQ(O(57, 3, 53), 1);
    EXPECT_EQ(T(57, 3, 30), TILE_THICK_WALL_FLOOR); EXPECT_EQ(O(57, 3, 30), 2);
    EXPECT_EQ(T(57, 3, 57), TILE_THICK_WALL_FLOOR); EXPECT_EQ(O(57, 3, 57), 3);
    EXPECT_EQ(T(59, 3, 55), TILE_THICK_WALL_FLOOR); EXPECT_EQ(O(59, 3, 55), 0);
    EXPECT_EQ(T(55, 3, 55), TILE_THICK_WALL_FLOOR); EXPECT_EQ(O(55, 3, 55), 2);
    // The core's own neighbours are plain floor: the test looks exactly two cells away.
    EXPECT_EQ(T(58, 3, 55), TILE_FLOOR);

    // Only empty cells became floor.
    EXPECT_EQ(T(10, 3, 10), TILE_ROCK);
    EXPECT_EQ(T(40, 3, 40), TILE_WALL);
    EXPECT_EQ(T(25, 3, 25), TILE_WALL_CORNER);
}

TEST(FloorsInteriors, CornerPieceOverridesTheThickWallPiece)
{
    ClearWorldGrid();
    Put(100, 3, 101, TILE_WALL);  // +z
    Put(99, 3, 100, TILE_WALL);   // -x
    Put(102, 3, 100, TILE_WALL_CORE);
    Put(100, 3, 100, TILE_EMPTY);
    LayFloors();
    ChooseFloorPieces();
    EXPECT_EQ(T(100, 3, 100), TILE_CORNER_FLOOR);
    EXPECT_EQ(O(100, 3, 100), 0);
}

TEST(FloorsInteriors, HeightsGoToWholeStretchesAndLaterStartsReheight)
{
    // Row 100 has floor at z 105..110 and row 101 at z 100..110; row 103 is a separate block.
    memset(heightMap, 0, sizeof heightMap);
    for (int z = 105; z <= 110; z++)
        heightMap[100][z] = 1;
    for (int z = 100; z <= 110; z++)
        heightMap[101][z] = 1;
    for (int x = 103; x <= 105; x++)
        for (int z = 50; z <= 52; z++)
            heightMap[x][z] = 1;
    // A floor cell on the last row runs to the grid's end without leaving it.
    heightMap[249][248] = 1;
    heightMap[249][249] = 1;

    srand(99);
    int h1 = rand() % 7 + 3;  // start (100, 105)
    int h2 = rand() % 7 + 3;  // start (101, 100): re-heights all of row 101
    int h3 = rand() % 7 + 3;  // start (103, 50)
    int h4 = rand() % 7 + 3;  // start (249, 248)
    int after = rand();
    srand(99);
    AssignRoomHeights(heightMap);
    EXPECT_EQ(rand(), after) << "one draw per cell found at 1";

    for (int z = 105; z <= 110; z++)
        EXPECT_EQ(heightMap[100][z], h1) << z;
    for (int z = 100; z <= 110; z++)
        EXPECT_EQ(heightMap[101][z], h2) << z;
    for (int x = 103; x <= 105; x++)
        for (int z = 50; z <= 52; z++)
            EXPECT_EQ(heightMap[x][z], h3);
    EXPECT_EQ(heightMap[249][248], h4);
    EXPECT_EQ(heightMap[249][249], h4);
    EXPECT_EQ(heightMap[100][104], 0);
    EXPECT_EQ(heightMap[102][105], 0);
}

TEST(FloorsInteriors, InteriorsStackUpToTheHeightWithTheFloorsOrientation)
{
    ClearWorldGrid();
    memset(heightMap, 0, sizeof heightMap);
    Put(100, 3, 100, TILE_FLOOR);
    heightMap[100][100] = 3;
    Put(101, 3, 100, TILE_WALL_FLOOR, 2);
    heightMap[101][100] = 3;
    Put(102, 3, 100, TILE_CORNER_FLOOR, 1);
    heightMap[102][100] = 9;
    Put(103, 3, 100, TILE_THICK_WALL_FLOOR, 3);
    heightMap[103][100] = 4;
    Put(104, 3, 100, TILE_EDGE_FEATURE, 2);
    heightMap[104][100] = 5;
    Put(105, 3, 100, TILE_FLOOR);
    heightMap[105][100] = 9;
    BuildInteriors(heightMap);

    EXPECT_EQ(T(100, 4, 100), TILE_FLOOR);
    EXPECT_EQ(T(100, 5, 100), TILE_ROOM_TOP);
    EXPECT_EQ(T(100, 6, 100), TILE_EMPTY);
    for (int y = 4; y <= 5; y++) {
        EXPECT_EQ(T(101, y, 100), TILE_WALL_COLUMN);
        EXPECT_EQ(O(101, y, 100), 2);
    }
    EXPECT_EQ(T(101, 6, 100), TILE_EMPTY);
    for (int y = 4; y <= 11; y++) {
        EXPECT_EQ(T(102, y, 100), TILE_CORNER_COLUMN) << y;
        EXPECT_EQ(O(102, y, 100), 1);
    }
    EXPECT_EQ(T(102, 12, 100), TILE_EMPTY);
    for (int y = 4; y <= 6; y++) {
        EXPECT_EQ(T(103, y, 100), TILE_THICK_WALL_COLUMN);
        EXPECT_EQ(O(103, y, 100), 3);
    }
    EXPECT_EQ(T(103, 7, 100), TILE_EMPTY);
    for (int y = 4; y <= 14; y++)
        EXPECT_EQ(T(104, y, 100), TILE_EMPTY);
    for (int y = 4; y <= 10; y++)
        EXPECT_EQ(T(105, y, 100), TILE_FLOOR);
    EXPECT_EQ(T(105, 11, 100), TILE_ROOM_TOP);
    EXPECT_EQ(T(105, 12, 100), TILE_EMPTY);
    EXPECT_EQ(T(105, 3, 100), TILE_FLOOR);
}
