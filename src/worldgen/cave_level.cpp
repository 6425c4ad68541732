#include "worldgen/cave_level.h"

#include <cstdlib>

#include "worldgen/world_random.h"

uint8_t caveReached[COLUMN_COUNT];

// Cells waiting in the reach flood fill; each layer-0 cell enters at most once.
static int reachQueue[COLUMN_COUNT];


static inline bool IsOpen(int x, int z) { return TileAt(x, CAVE_LAYER, z) == TILE_CAVE_FLOOR; }

bool TryPlaceDescent(int x, int z)
{
    // The footprint reaches 10 cells along the run and 3 across it.
    if (x < 10 || x > GRID_SIZE_X - 11 || z < 10 || z > GRID_SIZE_Z - 11)
        return false;
    WorldCell& top = GridCell(x, CHANNEL_LAYER, z);
    if (top.tileType != TILE_CHANNEL_SIDE || top.orientation > 3)
        return false;
    int o = top.orientation;
    int dx = SIDE_DX[o], dz = SIDE_DZ[o];  // the run: side o
    int sx = dz, sz = dx;  // across the run
    uint8_t p = (uint8_t)((o + 3) % 4);  // the orientation that faces along the run
    auto at = [&](int d, int s, int y) -> WorldCell& {
        return GridCell(x + d * dx + s * sx, y, z + d * dz + s * sz);
    };

    for (int d = 1; d <= 5; d++)
        if (at(d, 0, 2).tileType != TILE_EMPTY)
            return false;
    for (int d = 0; d <= 5; d++)
        if (at(d, 0, 1).tileType != TILE_EMPTY || at(d, 0, 0).tileType != TILE_EMPTY)
            return false;
    for (int d = 4; d <= 10; d++)
        for (int s = -3; s <= 3; s++)
            if (at(d, s, 0).tileType != TILE_EMPTY)
                return false;

    top.tileType = TILE_DESCENT_TOP;
    at(DESCENT_UPPER_RAMP, 0, 1) = WorldCell{TILE_DESCENT_RAMP, p};
    at(DESCENT_LOWER_RAMP, 0, 0) = WorldCell{TILE_DESCENT_RAMP, p};
    at(DESCENT_ENTRANCE, 0, 0) = WorldCell{TILE_CAVE_ENTRANCE, p};
    at(DESCENT_FRONT, 0, 0).tileType = TILE_CAVE_FLOOR;
    // Markers keep the space around the ramp and the entrance out of the cave fill.
    at(3, 0, 0).tileType = TILE_BOUNDARY;
    at(4, 0, 0).tileType = TILE_BOUNDARY;
    at(6, 0, 0).tileType = TILE_BOUNDARY;
    for (int d = 3; d <= 7; d++) {
        at(d, -1, 0).tileType = TILE_BOUNDARY;
        at(d, 1, 0).tileType = TILE_BOUNDARY;
    }
    return true;
}

// The 3750 descent attempts, each drawing x then z in 10..239.
static void PlaceDescents()
{
    for (int attempt = 0; attempt < DESCENT_ATTEMPTS; attempt++) {
        int x = WorldRandom() % 230 + 10;
        int z = WorldRandom() % 230 + 10;
        TryPlaceDescent(x, z);
    }
}

void FillCaveFloor()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            if (TileAt(x, CAVE_LAYER, z) == TILE_EMPTY)
                GridCell(x, CAVE_LAYER, z).tileType = TILE_CAVE_FLOOR;
}

void ClearDescentMarkers()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            if (TileAt(x, CAVE_LAYER, z) == TILE_BOUNDARY)
                GridCell(x, CAVE_LAYER, z).tileType = TILE_EMPTY;
}

// One wall line through the open cell (x, 0, z), x and z in 1..248: along x when alongX, else
// along z. Needs the centre and its two neighbours across the line open; then draws whether the
// centre is emptied and empties up to 6 open cells, first toward the low side, then the high side.
static void CutCaveWallLine(int x, int z, bool alongX)
{
    if (x < 1 || x > INNER_LAST_X || z < 1 || z > INNER_LAST_Z)
        return;
    int lx = alongX ? 1 : 0, lz = alongX ? 0 : 1;
    if (!IsOpen(x, z) || !IsOpen(x - lz, z - lx) || !IsOpen(x + lz, z + lx))
        return;
    int r = WorldRandom() % 2;
    if (r == 1)
        GridCell(x, CAVE_LAYER, z).tileType = TILE_EMPTY;
    // One count for both walks: the low side may use up all six cells.
    int n = 0;
    for (int side = -1; side <= 1; side += 2) {
        int cx = x, cz = z;
        while (n < CAVE_WALL_LINE_MAX_CELLS) {
            int nx = cx + side * lx, nz = cz + side * lz;
            if (!InGrid(nx, nz) || !IsOpen(nx, nz))
                break;
            GridCell(nx, CAVE_LAYER, nz).tileType = TILE_EMPTY;
            n++;
            cx = nx;
            cz = nz;
        }
    }
}

// The 4688 wall-line iterations, each a line along x then a line along z at drawn cells.
static void CutCaveWallLines()
{
    for (int i = 0; i < CAVE_WALL_LINE_ITERATIONS; i++) {
        int x = WorldRandom() % INNER_LAST_X + 1;
        int z = WorldRandom() % INNER_LAST_Z + 1;
        CutCaveWallLine(x, z, true);
        x = WorldRandom() % INNER_LAST_X + 1;
        z = WorldRandom() % INNER_LAST_Z + 1;
        CutCaveWallLine(x, z, false);
    }
}

// The cell each entrance faces becomes cave floor (tile byte only).
static void ReopenEntranceFronts()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++) {
            const WorldCell& c = GridCell(x, CAVE_LAYER, z);
            if (c.tileType != TILE_CAVE_ENTRANCE || c.orientation > 3)
                continue;
            int fx = x + SIDE_DX[PlusZSide(c.orientation)], fz = z + SIDE_DZ[PlusZSide(c.orientation)];
            if (InGrid(fx, fz))
                GridCell(fx, CAVE_LAYER, fz).tileType = TILE_CAVE_FLOOR;
        }
}

// Every layer-0 cell with x or z in 0..2 or 247..249 becomes empty (tile byte only).
static void ClearCaveBorder()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            if (x <= 2 || x >= GRID_SIZE_X - 3 || z <= 2 || z >= GRID_SIZE_Z - 3)
                GridCell(x, CAVE_LAYER, z).tileType = TILE_EMPTY;
}

// Seeds caveReached with the entrances; returns how many there are.
static int MarkEntrances()
{
    int entrances = 0;
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++) {
            bool entrance = TileAt(x, CAVE_LAYER, z) == TILE_CAVE_ENTRANCE;
            caveReached[ColumnIndex(x, z)] = entrance ? 1 : 0;
            if (entrance)
                reachQueue[entrances++] = ColumnIndex(x, z);
        }
    return entrances;
}

// A cell the reach may mark: inside the boundary ring, cave floor, not yet marked.
static inline bool Markable(int x, int z)
{
    return x >= 1 && x <= INNER_LAST_X && z >= 1 && z <= INNER_LAST_Z &&
           !caveReached[ColumnIndex(x, z)] && IsOpen(x, z);
}

void MarkCaveReach()
{
    int tail = MarkEntrances();
    for (int head = 0; head < tail; head++) {
        int x = ColumnX(reachQueue[head]), z = ColumnZ(reachQueue[head]);
        for (int k = 0; k < ORIENTATION_COUNT; k++) {
            int nx = x + SIDE_DX[k], nz = z + SIDE_DZ[k];
            if (Markable(nx, nz)) {
                caveReached[ColumnIndex(nx, nz)] = 1;
                reachQueue[tail++] = ColumnIndex(nx, nz);
            }
        }
    }
}

void PruneUnreachedCave()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            if (!caveReached[ColumnIndex(x, z)] && TileAt(x, CAVE_LAYER, z) != TILE_DESCENT_RAMP)
                GridCell(x, CAVE_LAYER, z).tileType = TILE_EMPTY;
}

// Turns the empty cells (x, z in 1..248) beside open cave cells into walls, partitions and blocks.
static void ClassifyCaveWalls()
{
    for (int x = 1; x <= INNER_LAST_X; x++)
        for (int z = 1; z <= INNER_LAST_Z; z++) {
            WorldCell& c = GridCell(x, CAVE_LAYER, z);
            if (c.tileType != TILE_EMPTY)
                continue;
            bool openW = IsOpen(x - 1, z), openE = IsOpen(x + 1, z);
            bool openS = IsOpen(x, z - 1), openN = IsOpen(x, z + 1);
            int n = openW + openE + openS + openN;
            bool diagonalOpen = IsOpen(x - 1, z - 1) || IsOpen(x - 1, z + 1) ||
                                IsOpen(x + 1, z - 1) || IsOpen(x + 1, z + 1);
            bool besideEntrance =
                TileAt(x - 1, CAVE_LAYER, z) == TILE_CAVE_ENTRANCE || TileAt(x + 1, CAVE_LAYER, z) == TILE_CAVE_ENTRANCE ||
                TileAt(x, CAVE_LAYER, z - 1) == TILE_CAVE_ENTRANCE || TileAt(x, CAVE_LAYER, z + 1) == TILE_CAVE_ENTRANCE;
            if (diagonalOpen && besideEntrance) {
                c.tileType = TILE_CAVE_BLOCK;
            } else if (n == 1) {
                c.tileType = TILE_CAVE_WALL;
                c.orientation = openW ? 3 : openE ? 1 : openS ? 2 : 0;
            } else if (n == 2) {
                if (openW && openE)
                    c = WorldCell{TILE_CAVE_PARTITION, 1};
                else if (openS && openN)
                    c = WorldCell{TILE_CAVE_PARTITION, 0};
                else
                    c.tileType = TILE_CAVE_BLOCK;
            } else if (n >= 3) {
                c.tileType = TILE_CAVE_BLOCK;
            }
        }
}

// In scan order, turns every open cell (x, z in 1..248) whose eight neighbours are open at that
// moment into an open centre.
static void MarkOpenCentres()
{
    for (int x = 1; x <= INNER_LAST_X; x++)
        for (int z = 1; z <= INNER_LAST_Z; z++) {
            if (!IsOpen(x, z))
                continue;
            bool allOpen = true;
            for (int ax = x - 1; ax <= x + 1 && allOpen; ax++)
                for (int az = z - 1; az <= z + 1 && allOpen; az++)
                    if (!IsOpen(ax, az))
                        allOpen = false;
            if (allOpen)
                GridCell(x, CAVE_LAYER, z).tileType = TILE_CAVE_OPEN_CENTRE;
        }
}

void GenerateCaveLevel()
{
    PlaceDescents();
    FillCaveFloor();
    ClearDescentMarkers();
    CutCaveWallLines();
    ReopenEntranceFronts();
    ClearCaveBorder();
    MarkCaveReach();
    PruneUnreachedCave();
    ClassifyCaveWalls();
    MarkOpenCentres();
}
