#include "worldgen/floors_interiors.h"

#include <cstdlib>

#include "world/world_grid.h"
#include "worldgen/room_level.h"
#include "worldgen/world_random.h"

// Room heights by cell [x][z]: 0 = no floor, 1 = floor without a height yet, 3..9 = height.
typedef int32_t HeightMap[GRID_SIZE_X][GRID_SIZE_Z];

namespace {

bool IsFloor(int t)
{
    return t == TILE_CORNER_FLOOR || t == TILE_WALL_FLOOR || t == TILE_THICK_WALL_FLOOR ||
           t == TILE_EDGE_FEATURE || t == TILE_FLOOR;
}

}  // namespace

// Every empty layer-3 cell becomes plain floor.
static void LayFloors()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            if (TileAt(x, ROOM_LAYER, z) == TILE_EMPTY)
                GridCell(x, ROOM_LAYER, z).tileType = TILE_FLOOR;
}

// Chooses wall-side, thick-wall-side and corner pieces for the plain floor cells.
static void ChooseFloorPieces()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++) {
            if (TileAt(x, ROOM_LAYER, z) != TILE_FLOOR)
                continue;
            WorldCell& c = GridCell(x, ROOM_LAYER, z);
            auto put = [&c](TileCode t, uint8_t o) { c.tileType = t; c.orientation = o; };
            if (TileAt(x - 1, ROOM_LAYER, z) == TILE_WALL) put(TILE_WALL_FLOOR, 0);
            if (TileAt(x + 1, ROOM_LAYER, z) == TILE_WALL) put(TILE_WALL_FLOOR, 2);
            if (TileAt(x, ROOM_LAYER, z - 1) == TILE_WALL) put(TILE_WALL_FLOOR, 3);
            if (TileAt(x, ROOM_LAYER, z + 1) == TILE_WALL) put(TILE_WALL_FLOOR, 1);
            if (TileAt(x - 2, ROOM_LAYER, z) == TILE_WALL_CORE) put(TILE_THICK_WALL_FLOOR, 0);
            if (TileAt(x + 2, ROOM_LAYER, z) == TILE_WALL_CORE) put(TILE_THICK_WALL_FLOOR, 2);
            if (TileAt(x, ROOM_LAYER, z - 2) == TILE_WALL_CORE) put(TILE_THICK_WALL_FLOOR, 3);
            if (TileAt(x, ROOM_LAYER, z + 2) == TILE_WALL_CORE) put(TILE_THICK_WALL_FLOOR, 1);
            if (TileAt(x, ROOM_LAYER, z + 1) == TILE_WALL) {
                if (TileAt(x + 1, ROOM_LAYER, z) == TILE_WALL) put(TILE_CORNER_FLOOR, 1);
                if (TileAt(x - 1, ROOM_LAYER, z) == TILE_WALL) put(TILE_CORNER_FLOOR, 0);
            }
            if (TileAt(x, ROOM_LAYER, z - 1) == TILE_WALL) {
                if (TileAt(x + 1, ROOM_LAYER, z) == TILE_WALL) put(TILE_CORNER_FLOOR, 2);
                if (TileAt(x - 1, ROOM_LAYER, z) == TILE_WALL) put(TILE_CORNER_FLOOR, 3);
            }
        }
}

// Marks every floor cell of layer 3 with 1 and every other cell with 0.
static void MarkFloorCells(HeightMap heightMap)
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            heightMap[x][z] = IsFloor(TileAt(x, ROOM_LAYER, z)) ? 1 : 0;
}

// Gives each stretch of floor a random height (one draw per cell found at 1).
static void AssignRoomHeights(HeightMap heightMap)
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++) {
            if (heightMap[x][z] != 1)
                continue;
            int h = WorldRandom() % 7 + MIN_ROOM_HEIGHT;
            // Down the rows while the start column is still unheighted; along each row
            // every floor cell to the first gap takes h, earlier heights included.
            for (int xr = x; xr < GRID_SIZE_X && heightMap[xr][z] == 1; xr++) {
                heightMap[xr][z] = h;
                for (int zr = z + 1; zr < GRID_SIZE_Z && heightMap[xr][zr] != 0; zr++)
                    heightMap[xr][zr] = h;
            }
        }
}

// Stacks the interior pieces above every floor cell up to its height.
static void BuildInteriors(const HeightMap heightMap)
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++) {
            int h = heightMap[x][z];
            if (h < MIN_ROOM_HEIGHT)
                continue;
            const WorldCell floor = GridCell(x, ROOM_LAYER, z);
            for (int k = 1; k <= h - 1; k++) {
                WorldCell& c = worldGrid[CellIndex(x, ROOM_LAYER + k, z)];
                switch (floor.tileType) {
                case TILE_CORNER_FLOOR: c.tileType = TILE_CORNER_COLUMN; break;
                case TILE_WALL_FLOOR: c.tileType = TILE_WALL_COLUMN; break;
                case TILE_THICK_WALL_FLOOR: c.tileType = TILE_THICK_WALL_COLUMN; break;
                case TILE_FLOOR: c.tileType = k == h - 1 ? TILE_ROOM_TOP : TILE_FLOOR; break;
                default: continue;  // an edge feature has nothing stacked above it
                }
                c.orientation = floor.orientation;
            }
        }
}

void GenerateFloorsAndInteriors()
{
    // Scratch table of this pass; filled afresh on every run.
    static HeightMap heightMap;

    LayFloors();
    ChooseFloorPieces();
    MarkFloorCells(heightMap);
    AssignRoomHeights(heightMap);
    BuildInteriors(heightMap);
}
