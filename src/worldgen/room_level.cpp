#include "worldgen/room_level.h"

#include <cstdlib>
#include <cstring>

#include "world/world_grid.h"
#include "worldgen/world_random.h"

// A 50 x 50 coarse map indexed [i][j], i along x and j along z: 1 = solid, 0 = open.
typedef uint8_t CoarseMap[COARSE_SIZE][COARSE_SIZE];

namespace {

// Sets every open coarse cell from (i, j) onward in steps of (di, dj) to solid,
// stopping before the first solid one.
void FillCoarseRun(CoarseMap map, int i, int j, int di, int dj)
{
    while (i >= 0 && i < COARSE_SIZE && j >= 0 && j < COARSE_SIZE && map[i][j] == 0) {
        map[i][j] = 1;
        i += di;
        j += dj;
    }
}

// Sets every empty layer-3 cell from (x, z) onward in steps of (dx, dz) to wall,
// stopping at the first non-empty one.
void FillWallRun(int x, int z, int dx, int dz)
{
    while (TileAt(x, ROOM_LAYER, z) == TILE_EMPTY) {
        GridCell(x, ROOM_LAYER, z).tileType = TILE_WALL;
        x += dx;
        z += dz;
    }
}

}  // namespace

// Opens the coarse rectangle ci - hi .. ci + hi by cj - hj .. cj + hj.
static void CarveRoom(CoarseMap roomMap, int ci, int cj, int hi, int hj)
{
    for (int i = ci - hi; i <= ci + hi; i++)
        for (int j = cj - hj; j <= cj + hj; j++)
            roomMap[i][j] = 0;
}

// Fills roomMap with 1 and carves the 47 random rooms.
static void CarveRooms(CoarseMap roomMap)
{
    memset(roomMap, 1, sizeof(CoarseMap));
    for (int n = 0; n < ROOM_COUNT; n++) {
        int ci = WorldRandom() % 30 + 10;
        int cj = WorldRandom() % 30 + 10;
        int hi = WorldRandom() % 4 + 2;
        int hj = WorldRandom() % 4 + 2;
        CarveRoom(roomMap, ci, cj, hi, hj);
    }
}

// Tries a coarse wall line through (i, j) running along i (alongI) or along j: it needs the
// cell and its two neighbours across the line open, and runs from solid to solid.
static void TryCoarseWall(CoarseMap wallMap, int i, int j, bool alongI)
{
    // The line runs along (di, dj); the drawn cell and its two neighbours across it must be open.
    int di = alongI ? 1 : 0, dj = alongI ? 0 : 1;
    if (wallMap[i][j] != 0 || wallMap[i - dj][j - di] != 0 || wallMap[i + dj][j + di] != 0)
        return;
    wallMap[i][j] = 1;
    FillCoarseRun(wallMap, i - di, j - dj, -di, -dj);
    FillCoarseRun(wallMap, i + di, j + dj, di, dj);
}

// Draws the 250 pairs of random coarse wall lines into wallMap.
static void DrawCoarseWalls(CoarseMap wallMap)
{
    for (int n = 0; n < COARSE_WALL_ATTEMPTS; n++) {
        int i = WorldRandom() % 48 + 1;
        int j = WorldRandom() % 48 + 1;
        TryCoarseWall(wallMap, i, j, true);
        i = WorldRandom() % 48 + 1;
        j = WorldRandom() % 48 + 1;
        TryCoarseWall(wallMap, i, j, false);
    }
}

// Writes wall core where wallMap is solid, then rock where roomMap is solid.
static void ScaleCoarseMaps(const CoarseMap roomMap, const CoarseMap wallMap)
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            if (wallMap[x / COARSE_SCALE][z / COARSE_SCALE] != 0)
                GridCell(x, ROOM_LAYER, z).tileType = TILE_WALL_CORE;
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            if (roomMap[x / COARSE_SCALE][z / COARSE_SCALE] == 1)
                GridCell(x, ROOM_LAYER, z).tileType = TILE_ROCK;
}

namespace {

// True when any 8-neighbour of (x, z) is neither `keep` nor wall skin.
bool TouchesOther(int x, int z, int keep)
{
    for (int dx = -1; dx <= 1; dx++)
        for (int dz = -1; dz <= 1; dz++) {
            if (dx == 0 && dz == 0)
                continue;
            int t = TileAt(x + dx, ROOM_LAYER, z + dz);
            if (t != keep && t != TILE_WALL)
                return true;
        }
    return false;
}

}  // namespace

// Turns core and rock cells that touch anything else into wall skin.
static void AddWallSkins()
{
    // Core first: a core cell touching rock becomes skin, and the rock then touches only skin.
    for (int x = 1; x <= INNER_LAST_X; x++)
        for (int z = 1; z <= INNER_LAST_Z; z++)
            if (TileAt(x, ROOM_LAYER, z) == TILE_WALL_CORE && TouchesOther(x, z, TILE_WALL_CORE))
                GridCell(x, ROOM_LAYER, z).tileType = TILE_WALL;
    for (int x = 1; x <= INNER_LAST_X; x++)
        for (int z = 1; z <= INNER_LAST_Z; z++)
            if (TileAt(x, ROOM_LAYER, z) == TILE_ROCK && TouchesOther(x, z, TILE_ROCK))
                GridCell(x, ROOM_LAYER, z).tileType = TILE_WALL;
}

// Points each skin cell at its wall core neighbour.
static void OrientWallSkins()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++) {
            if (TileAt(x, ROOM_LAYER, z) != TILE_WALL)
                continue;
            WorldCell& c = GridCell(x, ROOM_LAYER, z);
            if (TileAt(x + 1, ROOM_LAYER, z) == TILE_WALL_CORE) c.orientation = 2;
            if (TileAt(x - 1, ROOM_LAYER, z) == TILE_WALL_CORE) c.orientation = 0;
            if (TileAt(x, ROOM_LAYER, z + 1) == TILE_WALL_CORE) c.orientation = 1;
            if (TileAt(x, ROOM_LAYER, z - 1) == TILE_WALL_CORE) c.orientation = 3;
        }
}

// Turns skin cells between two perpendicular core neighbours into wall corners.
static void MarkConcaveCorners()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++) {
            if (TileAt(x, ROOM_LAYER, z) != TILE_WALL)
                continue;
            WorldCell& c = GridCell(x, ROOM_LAYER, z);
            bool east = TileAt(x + 1, ROOM_LAYER, z) == TILE_WALL_CORE;
            bool west = TileAt(x - 1, ROOM_LAYER, z) == TILE_WALL_CORE;
            if (TileAt(x, ROOM_LAYER, z + 1) == TILE_WALL_CORE) {
                if (east) { c.tileType = TILE_WALL_CORNER; c.orientation = 2; }
                if (west) { c.tileType = TILE_WALL_CORNER; c.orientation = 1; }
            }
            if (TileAt(x, ROOM_LAYER, z - 1) == TILE_WALL_CORE) {
                if (east) { c.tileType = TILE_WALL_CORNER; c.orientation = 3; }
                if (west) { c.tileType = TILE_WALL_CORNER; c.orientation = 0; }
            }
        }
}

// Copies layer-3 rock down to layer 2.
static void PutRockBelowRock()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            if (TileAt(x, ROOM_LAYER, z) == TILE_ROCK)
                GridCell(x, CHANNEL_LAYER, z).tileType = TILE_ROCK;
}

// One thin wall line on layer 3 from start cell (x, z) toward (dx, dz); the start is left alone.
static void DrawThinWallLine(int x, int z, int dx, int dz)
{
    // (px, pz) is the horizontal direction across the line.
    int px = dz, pz = dx;
    if (TileAt(x + dx, ROOM_LAYER, z + dz) != TILE_EMPTY)
        return;
    for (;;) {
        int nx = x + dx, nz = z + dz;
        if (TileAt(nx + px, ROOM_LAYER, nz + pz) == TILE_WALL || TileAt(nx - px, ROOM_LAYER, nz - pz) == TILE_WALL)
            return;
        x = nx;
        z = nz;
        GridCell(x, ROOM_LAYER, z).tileType = TILE_WALL;
        if (TileAt(x + dx, ROOM_LAYER, z + dz) != TILE_EMPTY)
            return;
    }
}

// Continues the faces of convex rock corners across the rooms as thin walls.
static void DrawRockCornerWalls(const CoarseMap roomMap)
{
    for (int i = 1; i <= 48; i++)
        for (int j = 1; j <= 48; j++) {
            if (roomMap[i][j] != 1)
                continue;
            int X = COARSE_SCALE * i, Z = COARSE_SCALE * j;
            if (roomMap[i - 1][j] == 0 && roomMap[i][j - 1] == 0) {
                DrawThinWallLine(X, Z, -1, 0);
                DrawThinWallLine(X, Z, 0, -1);
            }
            if (roomMap[i + 1][j] == 0) {
                if (roomMap[i][j + 1] == 0) {
                    DrawThinWallLine(X + 4, Z + 4, 1, 0);
                    DrawThinWallLine(X + 4, Z + 4, 0, 1);
                }
                if (roomMap[i][j - 1] == 0) {
                    DrawThinWallLine(X + 4, Z, 1, 0);
                    DrawThinWallLine(X + 4, Z, 0, -1);
                }
            }
            if (roomMap[i - 1][j] == 0 && roomMap[i][j + 1] == 0) {
                DrawThinWallLine(X, Z + 4, -1, 0);
                DrawThinWallLine(X, Z + 4, 0, 1);
            }
        }
}

// Tries to draw a thin wall through (x, z) running along z (alongZ) or along x.
static void TryRandomThinWall(int x, int z, bool alongZ)
{
    // The wall runs along (dx, dz); it needs three empty cells on both sides across it.
    int dx = alongZ ? 0 : 1, dz = alongZ ? 1 : 0;
    if (TileAt(x, ROOM_LAYER, z) != TILE_EMPTY)
        return;
    for (int k = 1; k <= 3; k++)
        if (TileAt(x + k * dz, ROOM_LAYER, z + k * dx) != TILE_EMPTY || TileAt(x - k * dz, ROOM_LAYER, z - k * dx) != TILE_EMPTY)
            return;
    GridCell(x, ROOM_LAYER, z).tileType = TILE_WALL;
    FillWallRun(x - dx, z - dz, -dx, -dz);
    FillWallRun(x + dx, z + dz, dx, dz);
}

// The 5313 pairs of random thin wall attempts.
static void DrawRandomThinWalls()
{
    for (int n = 0; n < THIN_WALL_ATTEMPTS; n++) {
        int x = WorldRandom() % GRID_SIZE_X;
        int z = WorldRandom() % GRID_SIZE_Z;
        TryRandomThinWall(x, z, true);
        x = WorldRandom() % GRID_SIZE_X;
        z = WorldRandom() % GRID_SIZE_Z;
        TryRandomThinWall(x, z, false);
    }
}

void GenerateRoomLevel()
{
    // Scratch maps of this pass; filled afresh on every run.
    static CoarseMap roomMap;
    static CoarseMap wallMap;

    CarveRooms(roomMap);
    memcpy(wallMap, roomMap, sizeof(CoarseMap));
    DrawCoarseWalls(wallMap);
    ScaleCoarseMaps(roomMap, wallMap);
    AddWallSkins();
    OrientWallSkins();
    MarkConcaveCorners();
    PutRockBelowRock();
    DrawRockCornerWalls(roomMap);
    DrawRandomThinWalls();
}
