#include <cstring>

#include "grid_helpers.h"
#include "worldgen/room_level.h"

TEST(RoomLevel, RoomRectangleOpensItsCoarseCellsAndTheirGridBlock)
{
    static CoarseMap roomMap, before;
    memset(roomMap, 1, sizeof roomMap);
    CarveRoom(roomMap, 20, 30, 3, 2);
    for (int i = 0; i < COARSE_SIZE; i++)
        for (int j = 0; j < COARSE_SIZE; j++)
            ASSERT_EQ(roomMap[i][j], i >= 17 && i <= 23 && j >= 28 && j <= 32 ? 0 : 1) << i << "," << j;
    memcpy(before, roomMap, sizeof roomMap);
    CarveRoom(roomMap, 20, 30, 2, 1);  // inside open space: no change
    EXPECT_EQ(memcmp(before, roomMap, sizeof roomMap), 0);

    ClearWorldGrid();
    ScaleCoarseMaps(roomMap, roomMap);
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            ASSERT_EQ(T(x, 3, z), x >= 85 && x <= 119 && z >= 140 && z <= 164 ? TILE_EMPTY : TILE_ROCK);
}

TEST(RoomLevel, CoarseWallLinesRunFromSolidToSolidAndNeedOpenSidesAcross)
{
    static CoarseMap map, before;
    memset(map, 1, sizeof map);
    CarveRoom(map, 20, 20, 5, 5);  // open 15..25 on both axes
    map[18][22] = 1;
    TryCoarseWall(map, 20, 22, true);  // along i: from the solid cell at 18 up to the room's edge
    for (int i = 15; i <= 25; i++)
        EXPECT_EQ(map[i][22], i >= 18 ? 1 : 0) << i;
    TryCoarseWall(map, 21, 18, false);  // along j: from the room's edge up to the first line
    for (int j = 14; j <= 23; j++)
        EXPECT_EQ(map[21][j], j <= 22 ? 1 : 0) << j;
    EXPECT_EQ(map[20][18], 0);

    memcpy(before, map, sizeof map);
    TryCoarseWall(map, 20, 19, false);  // i + 1 is solid
    TryCoarseWall(map, 22, 19, false);  // i - 1 is solid
    TryCoarseWall(map, 24, 23, true);   // j - 1 is solid
    TryCoarseWall(map, 20, 22, false);  // the cell itself is solid
    EXPECT_EQ(memcmp(before, map, sizeof map), 0);
}

TEST(RoomLevel, WallSkinsFaceTheirCoreAndConcaveCornersTurnByTheirCoreSides)
{
    // A coarse wall along x at coarse column 20 across a room, ending in rock at both ends.
    static CoarseMap roomMap, wallMap;
    memset(roomMap, 1, sizeof roomMap);
    CarveRoom(roomMap, 20, 20, 5, 5);
    memcpy(wallMap, roomMap, sizeof roomMap);
    for (int i = 15; i <= 25; i++)
        wallMap[i][20] = 1;
    ClearWorldGrid();
    ScaleCoarseMaps(roomMap, wallMap);
    AddWallSkins();
    OrientWallSkins();
    MarkConcaveCorners();
    for (int x = 80; x <= 120; x++) {
        SCOPED_TRACE(x);
        ExpectCells({{x, 3, 99, TILE_EMPTY, 0}, {x, 3, 100, TILE_WALL, 1}, {x, 3, 101, TILE_WALL_CORE, 0},
                     {x, 3, 103, TILE_WALL_CORE, 0}, {x, 3, 104, TILE_WALL, 3}, {x, 3, 105, TILE_EMPTY, 0}});
    }
    // Core meeting rock turns to skin and the rock behind it stays; rock facing open space is skin 0.
    ExpectCells({{75, 3, 102, TILE_WALL, 2}, {74, 3, 102, TILE_ROCK, 0}, {74, 3, 90, TILE_WALL, 0},
                 {73, 3, 90, TILE_ROCK, 0}, {0, 3, 0, TILE_ROCK, 0}});
    PutRockBelowRock();
    ExpectCells({{73, 2, 90, TILE_ROCK, 0}, {74, 2, 90, TILE_EMPTY, 0}, {100, 2, 102, TILE_EMPTY, 0}});

    // A five-thick ring of core 100..119 around an open square 105..114.
    ClearWorldGrid();
    Fill(100, 119, 3, 100, 119, TILE_WALL_CORE);
    Fill(105, 114, 3, 105, 114, TILE_EMPTY);
    AddWallSkins();
    OrientWallSkins();
    MarkConcaveCorners();
    ExpectCells({// inner corners: core at -x -z, -x +z, +x +z, +x -z
                 {104, 3, 104, TILE_WALL_CORNER, 0}, {104, 3, 115, TILE_WALL_CORNER, 1},
                 {115, 3, 115, TILE_WALL_CORNER, 2}, {115, 3, 104, TILE_WALL_CORNER, 3},
                 // convex outer corners have no core 4-neighbour
                 {100, 3, 100, TILE_WALL, 0}, {119, 3, 119, TILE_WALL, 0},
                 // straight faces, outside then inside
                 {100, 3, 110, TILE_WALL, 2}, {119, 3, 110, TILE_WALL, 0}, {110, 3, 100, TILE_WALL, 1},
                 {110, 3, 119, TILE_WALL, 3}, {104, 3, 110, TILE_WALL, 0}, {115, 3, 110, TILE_WALL, 2},
                 {110, 3, 104, TILE_WALL, 3}, {110, 3, 115, TILE_WALL, 1}, {102, 3, 110, TILE_WALL_CORE, 0}});
    EXPECT_EQ(CountTiles(3, TILE_WALL_CORNER), 4);
    EXPECT_EQ(CountTiles(3, TILE_WALL), 76 + 40);
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
    AddWallSkins();
    DrawRockCornerWalls(roomMap);
    for (int k = 50; k <= 74; k++) {
        SCOPED_TRACE(k);  // toward -x and -z from the pillar's low corners
        ExpectCells({{k, 3, 75, TILE_WALL, 0}, {75, 3, k, TILE_WALL, 0}, {k, 3, 79, TILE_WALL, 0},
                     {79, 3, k, TILE_WALL, 0}});
    }
    for (int k = 80; k <= 99; k++) {
        SCOPED_TRACE(k);  // toward +x and +z from its high corners
        ExpectCells({{k, 3, 79, TILE_WALL, 0}, {79, 3, k, TILE_WALL, 0}, {k, 3, 75, TILE_WALL, 0},
                     {75, 3, k, TILE_WALL, 0}});
    }
    ExpectCells({{74, 3, 76, TILE_EMPTY, 0}, {80, 3, 80, TILE_EMPTY, 0}, {100, 3, 75, TILE_WALL, 0},
                 {101, 3, 75, TILE_ROCK, 0}});

    // A wall beside the next cell stops a line; the start cell is left alone.
    ClearWorldGrid();
    Put(60, 3, 101, TILE_WALL);
    DrawThinWallLine(70, 100, -1, 0);
    EXPECT_EQ(CountTiles(3, TILE_WALL), 1 + 9);
    ExpectCells({{61, 3, 100, TILE_WALL, 0}, {60, 3, 100, TILE_EMPTY, 0}, {70, 3, 100, TILE_EMPTY, 0}});
    // A taken first cell draws nothing; a solid cell ahead ends the line before it.
    ClearWorldGrid();
    Put(100, 3, 99, TILE_ROCK);
    DrawThinWallLine(100, 100, 0, -1);
    Put(100, 3, 110, TILE_WALL_CORE);
    DrawThinWallLine(100, 100, 0, 1);
    EXPECT_EQ(CountTiles(3, TILE_WALL), 9);
    ExpectCells({{100, 3, 101, TILE_WALL, 0}, {100, 3, 109, TILE_WALL, 0}});
}

TEST(RoomLevel, RandomThinWallNeedsThreeEmptyCellsEachSideAcross)
{
    for (int side : {-3, -2, -1, 1, 2, 3}) {
        ClearWorldGrid();
        Put(100 + side, 3, 100, TILE_ROCK);
        Put(150, 3, 100 + side, TILE_ROCK);
        TryRandomThinWall(100, 100, true);
        TryRandomThinWall(150, 100, false);
        EXPECT_EQ(CountTiles(3, TILE_WALL), 0) << side;
    }
    // Accepted: the wall fills the empty cells both ways up to the first non-empty one.
    ClearWorldGrid();
    Fill(90, 110, 3, 90, 90, TILE_ROCK);
    Fill(90, 110, 3, 112, 112, TILE_WALL_CORE);
    Put(104, 3, 100, TILE_ROCK);  // four cells away is allowed
    TryRandomThinWall(100, 100, true);
    for (int z = 91; z <= 111; z++)
        EXPECT_EQ(T(100, 3, z), TILE_WALL) << z;
    TryRandomThinWall(105, 95, false);  // along x: from the new wall to the open grid beyond
    EXPECT_EQ(CountTiles(3, TILE_WALL), 21 + 149);
    ExpectCells({{101, 3, 95, TILE_WALL, 0}, {249, 3, 95, TILE_WALL, 0}, {100, 3, 90, TILE_ROCK, 0}});
}

TEST(RoomLevel, PassTakesItsDrawsInOrderAndLeavesOnlyItsTiles)
{
    for (unsigned seed : {1u, 20261206u}) {
        srand(seed);
        ClearWorldGrid();
        GenerateRoomLevel();
        // 47 rooms of 4 draws, 500 coarse attempts and 10,626 thin wall attempts of 2 draws.
        ExpectDrawsTaken(seed, 188 + 1000 + 21252);
        for (int x = 0; x < GRID_SIZE_X; x++)
            for (int z = 0; z < GRID_SIZE_Z; z++) {
                int t = T(x, 3, z);
                bool border = x < 25 || x > 224 || z < 25 || z > 224;
                ASSERT_TRUE(border ? t == TILE_ROCK || t == TILE_WALL
                                   : t == TILE_EMPTY || t == TILE_WALL || t == TILE_WALL_CORNER ||
                                         t == TILE_WALL_CORE || t == TILE_ROCK)
                    << x << "," << z << " holds " << t;
                ASSERT_EQ(T(x, 2, z), t == TILE_ROCK ? TILE_ROCK : TILE_EMPTY) << x << "," << z;
            }
    }
}
