#include <cstring>

#include "grid_helpers.h"
#include "worldgen/room_level.h"

namespace {

CoarseMap roomMap, wallMap, before;

void SkinAndOrient()
{
    AddWallSkins();
    OrientWallSkins();
    MarkConcaveCorners();
}

}  // namespace

TEST(RoomLevel, RoomRectangleAndCoarseWallLines)
{
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

    // Coarse walls run from solid to solid, and need the cell and its two neighbours across open.
    memset(wallMap, 1, sizeof wallMap);
    CarveRoom(wallMap, 20, 20, 5, 5);  // open 15..25 on both axes
    wallMap[18][22] = 1;
    TryCoarseWall(wallMap, 20, 22, true);   // along i: from the solid cell at 18 to the room's edge
    TryCoarseWall(wallMap, 21, 18, false);  // along j: from the room's edge to the first line
    for (int k = 14; k <= 26; k++) {
        EXPECT_EQ(wallMap[k][22], k >= 18 || k == 14 ? 1 : 0) << k;
        EXPECT_EQ(wallMap[21][k], k <= 22 || k == 26 ? 1 : 0) << k;
    }
    memcpy(before, wallMap, sizeof wallMap);
    TryCoarseWall(wallMap, 20, 19, false), TryCoarseWall(wallMap, 22, 19, false);  // i + 1, i - 1 solid
    TryCoarseWall(wallMap, 24, 23, true);                                           // j - 1 solid
    EXPECT_EQ(memcmp(before, wallMap, sizeof wallMap), 0);
}

TEST(RoomLevel, WallSkinsFaceTheirCoreAndConcaveCornersTurnByTheirCoreSides)
{
    // A coarse wall along x at coarse column 20 across a room, ending in rock at both ends.
    memset(roomMap, 1, sizeof roomMap);
    CarveRoom(roomMap, 20, 20, 5, 5);
    memcpy(wallMap, roomMap, sizeof roomMap);
    for (int i = 15; i <= 25; i++)
        wallMap[i][20] = 1;
    ClearWorldGrid();
    ScaleCoarseMaps(roomMap, wallMap);
    SkinAndOrient();
    for (int x = 80; x <= 120; x++)
        ExpectCells({{x, 3, 99, TILE_EMPTY, 0}, {x, 3, 100, TILE_WALL, 1}, {x, 3, 101, TILE_WALL_CORE, 0},
                     {x, 3, 103, TILE_WALL_CORE, 0}, {x, 3, 104, TILE_WALL, 3}, {x, 3, 105, TILE_EMPTY, 0}});
    // Core meeting rock turns to skin and the rock behind it stays; rock facing open space is skin 0.
    ExpectCells({{75, 3, 102, TILE_WALL, 2}, {74, 3, 102, TILE_ROCK, 0}, {74, 3, 90, TILE_WALL, 0},
                 {73, 3, 90, TILE_ROCK, 0}});

    // A five-thick ring of core 100..119 around an open square 105..114.
    ClearWorldGrid();
    Fill(100, 119, 3, 100, 119, TILE_WALL_CORE), Fill(105, 114, 3, 105, 114, TILE_EMPTY);
    SkinAndOrient();
    ExpectCells({{104, 3, 104, TILE_WALL_CORNER, 0}, {104, 3, 115, TILE_WALL_CORNER, 1},  // core -x -z, -x +z
                 {115, 3, 115, TILE_WALL_CORNER, 2}, {115, 3, 104, TILE_WALL_CORNER, 3},  // +x +z, +x -z
                 {100, 3, 100, TILE_WALL, 0}, {119, 3, 119, TILE_WALL, 0},  // convex: no core 4-neighbour
                 {100, 3, 110, TILE_WALL, 2}, {119, 3, 110, TILE_WALL, 0}, {110, 3, 100, TILE_WALL, 1},
                 {110, 3, 119, TILE_WALL, 3}, {104, 3, 110, TILE_WALL, 0}, {110, 3, 115, TILE_WALL, 1}});
    EXPECT_EQ(CountTiles(3, TILE_WALL_CORNER), 4);
    EXPECT_EQ(CountTiles(3, TILE_WALL), 76 + 40);
}

TEST(RoomLevel, ThinWallsFromRockCornersAndAtRandom)
{
    // A rock pillar at coarse (15, 15), x and z 75..79, inside an open room of coarse 10..20 (x, z 50..104).
    memset(roomMap, 1, sizeof roomMap);
    CarveRoom(roomMap, 15, 15, 5, 5);
    roomMap[15][15] = 1;
    ClearWorldGrid();
    ScaleCoarseMaps(roomMap, roomMap);
    AddWallSkins();
    int skins = CountTiles(3, TILE_WALL);
    DrawRockCornerWalls(roomMap);
    EXPECT_EQ(CountTiles(3, TILE_WALL), skins + 8 * 25);  // 8 lines from the pillar's corners to the room's skin
    ExpectCells({{50, 3, 75, TILE_WALL, 0}, {74, 3, 75, TILE_WALL, 0}, {75, 3, 50, TILE_WALL, 0}, {50, 3, 79, TILE_WALL, 0},
                 {79, 3, 50, TILE_WALL, 0}, {104, 3, 79, TILE_WALL, 0}, {79, 3, 104, TILE_WALL, 0},
                 {104, 3, 75, TILE_WALL, 0}, {75, 3, 104, TILE_WALL, 0}, {80, 3, 80, TILE_EMPTY, 0}});

    // A line stops before running beside a wall and before a solid cell; the start is left alone.
    ClearWorldGrid();
    Put(60, 3, 101, TILE_WALL), Put(100, 3, 99, TILE_ROCK), Put(100, 3, 110, TILE_WALL_CORE);
    DrawThinWallLine(70, 100, -1, 0);   // 69..61
    DrawThinWallLine(100, 100, 0, -1);  // the first cell is taken: nothing
    DrawThinWallLine(100, 100, 0, 1);   // 101..109
    EXPECT_EQ(CountTiles(3, TILE_WALL), 1 + 9 + 9);
    ExpectCells({{61, 3, 100, TILE_WALL, 0}, {70, 3, 100, TILE_EMPTY, 0}, {100, 3, 109, TILE_WALL, 0}});

    // A random thin wall needs its drawn cell and three cells each side across it empty.
    for (int side : {-3, -2, -1, 1, 2, 3}) {
        ClearWorldGrid();
        Put(100 + side, 3, 100, TILE_ROCK), Put(150, 3, 100 + side, TILE_ROCK);
        TryRandomThinWall(100, 100, true), TryRandomThinWall(150, 100, false);
        EXPECT_EQ(CountTiles(3, TILE_WALL), 0) << side;
    }
    ClearWorldGrid();
    Fill(90, 110, 3, 90, 90, TILE_ROCK), Fill(90, 110, 3, 112, 112, TILE_WALL_CORE);
    Put(104, 3, 100, TILE_ROCK);        // four cells away is allowed
    TryRandomThinWall(100, 100, true);  // z 91..111
    TryRandomThinWall(105, 95, false);  // x 101..249: from the new wall to the grid's end
    EXPECT_EQ(CountTiles(3, TILE_WALL), 21 + 149);
    ExpectCells({{100, 3, 91, TILE_WALL, 0}, {100, 3, 111, TILE_WALL, 0}, {101, 3, 95, TILE_WALL, 0},
                 {249, 3, 95, TILE_WALL, 0}});
}

TEST(RoomLevel, PassTakesItsDrawsInOrder)
{
    srand(20261206);
    ClearWorldGrid();
    GenerateRoomLevel();
    // 47 rooms of 4 draws, 500 coarse attempts and 10,626 thin wall attempts of 2 draws.
    ExpectDrawsTaken(20261206, 188 + 1000 + 21252);
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            ASSERT_EQ(T(x, 2, z), T(x, 3, z) == TILE_ROCK ? TILE_ROCK : TILE_EMPTY) << x << "," << z;
}
