#include "worldgen/bridges.h"

#include <cstdlib>

#include "world/world_grid.h"
#include "worldgen/world_random.h"

static inline bool IsColumn(uint8_t tile)
{
    return tile == TILE_WALL_COLUMN || tile == TILE_THICK_WALL_COLUMN;
}

// One attempt at the cell (x, y, z): a wall column facing -x (orientation 0) or -z
// (orientation 3) is joined to the nearest column within 13 cells that way. Reports whether a
// bridge was laid. No draws.
static bool TryPlaceBridge(int x, int y, int z)
{
    WorldCell& start = worldGrid[CellIndex(x, y, z)];
    if (!IsColumn(start.tileType))
        return false;
    // Orientation 0 looks toward -x, 3 toward -z; the span pieces run along that axis.
    bool alongX;
    if (start.orientation == 0)
        alongX = true;
    else if (start.orientation == 3)
        alongX = false;
    else
        return false;
    uint8_t spanOrientation = alongX ? 0 : 1;

    // Look past the start cell for the first non-empty cell, over at most 13 empty ones and
    // never past coordinate 0.
    int position = alongX ? x : z;
    int gap = 0;
    int farIndex = -1;
    while (gap <= BRIDGE_MAX_GAP && position > 0) {
        position--;
        int index = alongX ? CellIndex(position, y, z) : CellIndex(x, y, position);
        if (worldGrid[index].tileType != TILE_EMPTY) {
            farIndex = index;
            break;
        }
        gap++;
    }
    if (farIndex < 0 || !IsColumn(worldGrid[farIndex].tileType))
        return false;

    const int step = alongX ? COLUMN_CELLS : 1;  // index step toward the far cell
    int startIndex = CellIndex(x, y, z);
    if (gap == 1) {
        start.tileType = TILE_EMPTY;
        worldGrid[farIndex].tileType = TILE_EMPTY;
        worldGrid[startIndex - step] = WorldCell{TILE_BRIDGE_SHORT, spanOrientation};
    } else {
        start.tileType = TILE_BRIDGE_END;
        worldGrid[farIndex].tileType = TILE_BRIDGE_END;
        for (int k = 1; k <= gap; k++)
            worldGrid[startIndex - k * step] = WorldCell{TILE_BRIDGE_SPAN, spanOrientation};
    }
    return true;
}

void GenerateBridges()
{
    for (int y = BRIDGE_LOWEST_LAYER; y <= BRIDGE_HIGHEST_LAYER; y++)
        for (int attempt = 0; attempt < BRIDGE_ATTEMPTS_PER_LAYER; attempt++) {
            int x = WorldRandom() % INNER_LAST_X + 1;
            int z = WorldRandom() % INNER_LAST_Z + 1;
            TryPlaceBridge(x, y, z);
        }
}
