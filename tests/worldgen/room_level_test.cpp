#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "world/world_grid.h"
#include "worldgen/generate_world.h"
#include "worldgen/room_level.h"

namespace {

int T3(int x, int z) { return worldGrid[CellIndex(x, 3, z)].tileType; }
int O3(int x, int z) { return worldGrid[CellIndex(x, 3, z)].orientation; }

void Fill3(int x0, int x1, int z0, int z1, int tile)
{
    for (int x = x0; x <= x1; x++)
        for (int z = z0; z <= z1; z++)
            worldGrid[CellIndex(x, 3, z)] = WorldCell{(uint8_t)tile, 0};
}

// The value rand() gives after `count` further draws from the state left by seeding with `seed`.
int DrawAfter(unsigned seed, int count)
{
    srand(seed);
    for (int i = 0; i < count; i++)
        rand();
    return rand();
}

void SkinAndOrient()
{
    AddWallSkins();
    OrientWallSkins();
    MarkConcaveCorners();
}

}  // namespace

TEST(RoomLevel, RoomRectangleOpensItsCoarseCellsAndTheirGridBlock)
{
    static CoarseMap roomMap;
    memset(roomMap, 1, sizeof roomMap);
    CarveRoom(roomMap, 20, 30, 3, 2);
    int open = 0;
    for (int i = 0; i < COARSE_SIZE; i++)
        for (int j = 0; j < COARSE_SIZE; j++) {
            bool inside = i >= 17 && i <= 23 && j >= 28 && j <= 32;
            EXPECT_EQ(roomMap[i][j], inside ? 0 : 1) << i << "," << j;
            open += roomMap[i][j] == 0;
        }
    EXPECT_EQ(open, 35);

    // A rectangle inside open space changes nothing.
    static CoarseMap before;
    memcpy(before, roomMap, sizeof roomMap);
    CarveRoom(roomMap, 20, 30, 2, 1);
    EXPECT_EQ(memcmp(before, roomMap, sizeof roomMap), 0);

    ClearWorldGrid();
    ScaleCoarseMaps(roomMap, roomMap);
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++) {
            bool inside = x >= 85 && x <= 119 && z >= 140 && z <= 164;
            ASSERT_EQ(T3(x, z), inside ? TILE_EMPTY : TILE_ROCK) << x << "," << z;
        }
}

TEST(RoomLevel, CoarseWallLinesRunFromSolidToSolidAndNeedOpenSidesAcross)
{
    static CoarseMap map;
    memset(map, 1, sizeof map);
    CarveRoom(map, 20, 20, 5, 5);  // open 15..25 on both axes
    map[18][22] = 1;               // a solid cell in the way of a line along i at j = 22

    TryCoarseWall(map, 20, 22, true);
    for (int i = 15; i <= 25; i++)
        EXPECT_EQ(map[i][22], i >= 18 ? 1 : 0) << i;
    EXPECT_EQ(map[20][21], 0);
    EXPECT_EQ(map[20][23], 0);

    // Along j at i = 21: from the room's edge (j = 14 solid) up to the line at j = 22.
    TryCoarseWall(map, 21, 18, false);
    for (int j = 15; j <= 21; j++)
        EXPECT_EQ(map[21][j], 1) << j;
    EXPECT_EQ(map[21][23], 0);
    EXPECT_EQ(map[20][18], 0);

    // Refused: a line along j needs both i neighbours open (i = 21 is solid now).
    static CoarseMap before;
    memcpy(before, map, sizeof map);
    TryCoarseWall(map, 20, 19, false);
    TryCoarseWall(map, 22, 19, false);
    // Refused: a line along i next to the line along i at j = 22.
    TryCoarseWall(map, 24, 21, true);
    TryCoarseWall(map, 24, 23, true);
    // Refused: the drawn cell is solid.
    TryCoarseWall(map, 20, 22, false);
    EXPECT_EQ(memcmp(before, map, sizeof map), 0);
}

TEST(RoomLevel, FiveThickWallGetsSkinsFacingItsCore)
{
    // A coarse wall along x at coarse column j = 20 across an open room, ending in rock.
    static CoarseMap roomMap, wallMap;
    memset(roomMap, 1, sizeof roomMap);
    CarveRoom(roomMap, 20, 20, 5, 5);
    memcpy(wallMap, roomMap, sizeof roomMap);
    for (int i = 15; i <= 25; i++)
        wallMap[i][20] = 1;
    ClearWorldGrid();
    ScaleCoarseMaps(roomMap, wallMap);
    SkinAndOrient();
    for (int x = 80; x <= 120; x++) {
        EXPECT_EQ(T3(x, 99), TILE_EMPTY) << x;
        EXPECT_EQ(T3(x, 100), TILE_WALL) << x;
        EXPECT_EQ(O3(x, 100), 1) << x;
        for (int z = 101; z <= 103; z++)
            EXPECT_EQ(T3(x, z), TILE_WALL_CORE) << x << "," << z;
        EXPECT_EQ(T3(x, 104), TILE_WALL) << x;
        EXPECT_EQ(O3(x, 104), 3) << x;
        EXPECT_EQ(T3(x, 105), TILE_EMPTY) << x;
    }
    // Where the core meets rock the core turns to skin and the rock behind it stays rock,
    // while rock facing open space becomes skin with orientation 0.
    EXPECT_EQ(T3(75, 102), TILE_WALL);
    EXPECT_EQ(T3(74, 102), TILE_ROCK);
    EXPECT_EQ(T3(74, 90), TILE_WALL);
    EXPECT_EQ(O3(74, 90), 0);
    EXPECT_EQ(T3(73, 90), TILE_ROCK);
    EXPECT_EQ(T3(0, 0), TILE_ROCK);  // the outer ring is never scanned

    PutRockBelowRock();
    EXPECT_EQ(worldGrid[CellIndex(73, 2, 90)].tileType, TILE_ROCK);
    EXPECT_EQ(worldGrid[CellIndex(74, 2, 90)].tileType, TILE_EMPTY);
    EXPECT_EQ(worldGrid[CellIndex(100, 2, 102)].tileType, TILE_EMPTY);
}

TEST(RoomLevel, HollowCoreRingGetsConcaveCornersAndFacingSkins)
{
    // A five-thick ring of core x, z 100..119 around an open square 105..114.
    ClearWorldGrid();
    Fill3(100, 119, 100, 119, TILE_WALL_CORE);
    Fill3(105, 114, 105, 114, TILE_EMPTY);
    SkinAndOrient();

    // Inner (concave) corners, oriented by which two 4-neighbours are core.
    EXPECT_EQ(T3(104, 104), TILE_WALL_CORNER);  // core at -x and -z
    EXPECT_EQ(O3(104, 104), 0);
    EXPECT_EQ(T3(104, 115), TILE_WALL_CORNER);  // -x and +z
    EXPECT_EQ(O3(104, 115), 1);
    EXPECT_EQ(T3(115, 115), TILE_WALL_CORNER);  // +x and +z
    EXPECT_EQ(O3(115, 115), 2);
    EXPECT_EQ(T3(115, 104), TILE_WALL_CORNER);  // +x and -z
    EXPECT_EQ(O3(115, 104), 3);

    // Convex outer corners have no core 4-neighbour: plain skin, orientation 0.
    const int outer[4][2] = {{100, 100}, {100, 119}, {119, 100}, {119, 119}};
    for (const auto& c : outer) {
        EXPECT_EQ(T3(c[0], c[1]), TILE_WALL);
        EXPECT_EQ(O3(c[0], c[1]), 0);
    }

    // Straight faces, outside and inside.
    EXPECT_EQ(O3(100, 110), 2);
    EXPECT_EQ(O3(119, 110), 0);
    EXPECT_EQ(O3(110, 100), 1);
    EXPECT_EQ(O3(110, 119), 3);
    EXPECT_EQ(O3(104, 110), 0);
    EXPECT_EQ(O3(115, 110), 2);
    EXPECT_EQ(O3(110, 104), 3);
    EXPECT_EQ(O3(110, 115), 1);
    for (int k = 101; k <= 103; k++) {
        EXPECT_EQ(T3(k, 110), TILE_WALL_CORE);
        EXPECT_EQ(T3(110, k), TILE_WALL_CORE);
    }

    // Layer 3 now holds 20 skin cells per face, 4 corners and the core between them.
    int skin = 0, corners = 0;
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++) {
            skin += T3(x, z) == TILE_WALL;
            corners += T3(x, z) == TILE_WALL_CORNER;
        }
    EXPECT_EQ(corners, 4);
    EXPECT_EQ(skin, 76 + 40);
}

TEST(RoomLevel, ThinWallLinesContinueRockCornersUntilTheyMeetSomething)
{
    // A rock pillar (coarse 15, 15) inside the open room coarse 10..19 (x, z 50..99).
    static CoarseMap roomMap;
    memset(roomMap, 1, sizeof roomMap);
    CarveRoom(roomMap, 14, 14, 4, 4);  // opens 10..18
    for (int k = 10; k <= 19; k++)
        roomMap[19][k] = roomMap[k][19] = 0;
    roomMap[15][15] = 1;
    ClearWorldGrid();
    ScaleCoarseMaps(roomMap, roomMap);
    SkinAndOrient();
    ASSERT_EQ(T3(75, 75), TILE_WALL);
    ASSERT_EQ(T3(77, 77), TILE_ROCK);
    ASSERT_EQ(T3(49, 75), TILE_WALL);

    DrawRockCornerWalls(roomMap);
    for (int k = 50; k <= 74; k++) {
        EXPECT_EQ(T3(k, 75), TILE_WALL) << k;  // -x from (75, 75)
        EXPECT_EQ(T3(75, k), TILE_WALL) << k;  // -z from (75, 75)
        EXPECT_EQ(T3(k, 79), TILE_WALL) << k;  // -x from (75, 79)
        EXPECT_EQ(T3(79, k), TILE_WALL) << k;  // -z from (79, 75)
        EXPECT_EQ(O3(k, 75), 0);
    }
    for (int k = 80; k <= 99; k++) {
        EXPECT_EQ(T3(k, 79), TILE_WALL) << k;  // +x from (79, 79)
        EXPECT_EQ(T3(79, k), TILE_WALL) << k;  // +z from (79, 79)
        EXPECT_EQ(T3(k, 75), TILE_WALL) << k;  // +x from (79, 75)
        EXPECT_EQ(T3(75, k), TILE_WALL) << k;  // +z from (75, 79)
    }
    EXPECT_EQ(T3(74, 76), TILE_EMPTY);
    EXPECT_EQ(T3(80, 80), TILE_EMPTY);
    EXPECT_EQ(T3(100, 75), TILE_WALL);
    EXPECT_EQ(T3(101, 75), TILE_ROCK);
}

TEST(RoomLevel, ThinWallLineStopsBeforeRunningBesideAWall)
{
    ClearWorldGrid();
    worldGrid[CellIndex(60, 3, 101)].tileType = TILE_WALL;
    DrawThinWallLine(70, 100, -1, 0);
    for (int x = 61; x <= 69; x++)
        EXPECT_EQ(T3(x, 100), TILE_WALL) << x;
    EXPECT_EQ(T3(60, 100), TILE_EMPTY);
    EXPECT_EQ(T3(70, 100), TILE_EMPTY);  // the start cell is left alone

    // A line whose first cell is taken draws nothing; one that meets a solid cell stops before it.
    ClearWorldGrid();
    worldGrid[CellIndex(100, 3, 99)].tileType = TILE_ROCK;
    DrawThinWallLine(100, 100, 0, -1);
    worldGrid[CellIndex(100, 3, 110)].tileType = TILE_WALL_CORE;
    DrawThinWallLine(100, 100, 0, 1);
    int walls = 0;
    for (int z = 0; z < GRID_SIZE_Z; z++)
        walls += T3(100, z) == TILE_WALL;
    EXPECT_EQ(walls, 9);
    EXPECT_EQ(T3(100, 109), TILE_WALL);
    EXPECT_EQ(T3(100, 101), TILE_WALL);
    EXPECT_EQ(T3(100, 100), TILE_EMPTY);

    // A wall diagonally ahead stops the line before the cell beside it.
    ClearWorldGrid();
    worldGrid[CellIndex(101, 3, 121)].tileType = TILE_WALL;
    DrawThinWallLine(100, 120, 1, 0);
    EXPECT_EQ(T3(101, 120), TILE_EMPTY);
}

TEST(RoomLevel, RandomThinWallNeedsThreeEmptyCellsEachSideAcross)
{
    for (int side = -3; side <= 3; side++) {
        if (side == 0)
            continue;
        ClearWorldGrid();
        worldGrid[CellIndex(100 + side, 3, 100)].tileType = TILE_ROCK;
        worldGrid[CellIndex(150, 3, 100 + side)].tileType = TILE_ROCK;
        TryRandomThinWall(100, 100, true);
        TryRandomThinWall(150, 100, false);
        int walls = 0;
        for (int i = 0; i < CELL_COUNT; i++)
            walls += worldGrid[i].tileType == TILE_WALL;
        EXPECT_EQ(walls, 0) << side;
    }

    // Accepted: the wall fills the empty cells both ways up to the first non-empty one.
    ClearWorldGrid();
    Fill3(90, 110, 90, 90, TILE_ROCK);
    Fill3(90, 110, 112, 112, TILE_WALL_CORE);
    worldGrid[CellIndex(104, 3, 100)].tileType = TILE_ROCK;  // four cells away is allowed
    TryRandomThinWall(100, 100, true);
    for (int z = 91; z <= 111; z++)
        EXPECT_EQ(T3(100, z), TILE_WALL) << z;
    EXPECT_EQ(T3(100, 90), TILE_ROCK);
    EXPECT_EQ(T3(100, 112), TILE_WALL_CORE);
    EXPECT_EQ(O3(100, 100), 0);

    // Along x, crossing stops at the wall just drawn.
    TryRandomThinWall(105, 95, false);
    for (int x = 101; x <= 103; x++)
        EXPECT_EQ(T3(x, 95), TILE_WALL) << x;
    EXPECT_EQ(T3(104, 95), TILE_WALL);
    EXPECT_EQ(T3(105, 95), TILE_WALL);
    EXPECT_EQ(T3(106, 95), TILE_WALL);
    EXPECT_EQ(T3(110, 95), TILE_WALL);
    EXPECT_EQ(T3(111, 95), TILE_WALL);  // the grid is open past the rock row's end
}

TEST(RoomLevel, GeneratedLevelTakesItsDrawsInOrderAndHoldsOnlyItsTiles)
{
    const unsigned seeds[] = {1, 77, 20261206};
    for (unsigned seed : seeds) {
        srand(seed);
        int ci = rand() % 30 + 10, cj = rand() % 30 + 10, hi = rand() % 4 + 2, hj = rand() % 4 + 2;
        srand(seed);
        ClearWorldGrid();
        GenerateRoomLevel();
        // 47 rooms of 4 draws, 500 coarse attempts and 10,626 thin wall attempts of 2 draws.
        int next = rand();
        EXPECT_EQ(next, DrawAfter(seed, 188 + 1000 + 21252)) << seed;

        // The first room's block has no rock.
        for (int x = 5 * (ci - hi); x <= 5 * (ci + hi) + 4; x++)
            for (int z = 5 * (cj - hj); z <= 5 * (cj + hj) + 4; z++)
                ASSERT_NE(T3(x, z), TILE_ROCK) << seed << " " << x << "," << z;

        int open = 0;
        for (int x = 0; x < GRID_SIZE_X; x++)
            for (int z = 0; z < GRID_SIZE_Z; z++) {
                int t = T3(x, z);
                ASSERT_TRUE(t == TILE_EMPTY || t == TILE_WALL || t == TILE_WALL_CORNER ||
                            t == TILE_WALL_CORE || t == TILE_ROCK)
                    << seed << " " << x << "," << z << " holds " << t;
                bool border = x < 25 || x > 224 || z < 25 || z > 224;
                if (border) {
                    ASSERT_TRUE(t == TILE_ROCK || t == TILE_WALL) << x << "," << z;
                }
                open += t == TILE_EMPTY;
                int below = worldGrid[CellIndex(x, 2, z)].tileType;
                ASSERT_EQ(below, t == TILE_ROCK ? TILE_ROCK : TILE_EMPTY) << x << "," << z;
                for (int y = 0; y < GRID_LAYERS; y++)
                    if (y != 2 && y != 3) {
                        ASSERT_EQ(worldGrid[CellIndex(x, y, z)].tileType, TILE_EMPTY);
                    }
            }
        EXPECT_GT(open, 1000) << seed;
        EXPECT_EQ(T3(0, 0), TILE_ROCK);
        EXPECT_EQ(T3(249, 124), TILE_ROCK);
    }
}
