// World grid: the 250 x 15 x 250 tile grid and the per-cell entity index.
#pragma once

#include <cstdint>

constexpr int GRID_SIZE_X = 250;
constexpr int GRID_LAYERS = 15;
constexpr int GRID_SIZE_Z = 250;
constexpr int CELL_COUNT = GRID_SIZE_X * GRID_LAYERS * GRID_SIZE_Z;  // 937,500
constexpr int LAYER_CELLS = GRID_SIZE_Z;                // index step from one layer to the next
constexpr int COLUMN_CELLS = GRID_LAYERS * GRID_SIZE_Z;  // index step from one x to the next, 3750
constexpr int CELL_SIZE = 10;                           // world units along each side of a cell

// The layers the generator builds on, from the bottom up.
constexpr int CAVE_LAYER = 0;                 // the cave floors and the descents' feet
constexpr int CHANNEL_LAYER = 2;              // the channels under the thick walls, and the rock around them
constexpr int ROOM_LAYER = 3;                 // the rooms, walls and floors; the layer the minimap shows
constexpr int TOP_LAYER = GRID_LAYERS - 1;    // the highest layer, where lift shafts and columns end
constexpr int TILE_TYPE_COUNT = 46;
constexpr int ORIENTATION_COUNT = 4;
constexpr int MAX_ENTITIES_PER_CELL = 2;
constexpr int ENTITY_KIND_COUNT = 3;

enum TileCode : uint8_t {
    TILE_EMPTY = 0,
    TILE_BOUNDARY = 1,
    TILE_CORNER_COLUMN = 2,
    TILE_WALL_COLUMN = 3,
    TILE_THICK_WALL_COLUMN = 4,
    TILE_ROOM_TOP = 5,
    TILE_CAVE_WALL = 6,
    TILE_WALL_CORE_CENTRE = 7,
    TILE_WALL = 8,
    TILE_WALL_CORNER = 9,
    TILE_WALL_CORE = 10,
    TILE_WALL_OUTLET = 11,
    TILE_CHANNEL_SIDE = 12,
    TILE_CHANNEL = 13,
    TILE_CHANNEL_HEAD = 14,
    TILE_SPARE = 15,
    TILE_CAVE_OPEN_CENTRE = 16,
    TILE_CAVE_ENTRANCE = 17,
    TILE_CAVE_FLOOR = 18,
    TILE_CAVE_BLOCK = 19,
    TILE_ROCK = 20,
    TILE_DESCENT_TOP = 21,
    TILE_DESCENT_RAMP = 22,
    TILE_CORNER_FLOOR = 23,
    TILE_WALL_FLOOR = 24,
    TILE_THICK_WALL_FLOOR = 25,
    TILE_EDGE_FEATURE = 26,
    TILE_FLOOR = 27,
    TILE_CHANNEL_INNER_CORNER = 28,
    TILE_CHANNEL_OUTER_CORNER = 29,
    TILE_CAVE_PARTITION = 30,
    TILE_BRIDGE_SHORT = 31,
    TILE_LIFT_BOTTOM = 32,
    TILE_LIFT_SHAFT = 33,
    TILE_LIFT_TOP = 34,
    TILE_ROCK_EDGE = 35,
    TILE_BRIDGE_END = 36,
    TILE_BRIDGE_SPAN = 37,
    TILE_ROCK_CORNER = 38,
    TILE_PROP_GROUND = 39,
    TILE_ROOM_TOP_DOUBLE = 40,
    TILE_WALL_FIXTURE_1 = 41,
    TILE_WALL_FIXTURE_2 = 42,
    TILE_WALL_FIXTURE_3 = 43,
    TILE_WALL_FIXTURE_WIDE = 44,
    TILE_COLUMN_CAP = 45,
};

enum EntityKind : int32_t {
    ENTITY_COLLECTABLE = 0,
    ENTITY_LIFT = 1,
    ENTITY_PROP = 2,
};

// One grid cell: a tile code and its quarter turns about the vertical axis.
struct WorldCell {
    uint8_t tileType;
    uint8_t orientation;
};
static_assert(sizeof(WorldCell) == 2, "a cell is two bytes");

// An entity standing in the world; owned by the entity-index slot holding it.
struct Entity {
    int32_t kind;
    float x, y, z;
    float angle;      // heading in radians about the vertical axis
    float velocityX;  // always 0, only stored
    float velocityY;  // vertical speed of a lift, world units per time unit
    float velocityZ;  // always 0, only stored
    float spinRate;   // angle increase per time unit of a collectable
};

extern WorldCell worldGrid[CELL_COUNT];                      // every cell, x slowest, z fastest
extern int8_t entityCount[CELL_COUNT];                       // entities filed in each cell, 0..2
extern Entity* entitySlots[CELL_COUNT * MAX_ENTITIES_PER_CELL];  // slot k of cell i at i * 2 + k
extern const bool entityKindIsSolid[ENTITY_KIND_COUNT];      // lifts and props block the player

inline int CellIndex(int x, int y, int z) { return x * COLUMN_CELLS + y * LAYER_CELLS + z; }

inline WorldCell& GridCell(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)]; }

// Whether column (x, z) lies on the grid.
inline bool InGrid(int x, int z) { return x >= 0 && x < GRID_SIZE_X && z >= 0 && z < GRID_SIZE_Z; }

// Tile code of (x, y, z); a column off the grid reads as the boundary that
// closes the world, so neighbour tests and walks stop at the edge.
inline int TileAt(int x, int y, int z)
{
    return InGrid(x, z) ? worldGrid[CellIndex(x, y, z)].tileType : (int)TILE_BOUNDARY;
}

// The cell coordinate holding a non-negative world coordinate: trunc((p + 5) / 10).
inline int WorldToCell(float p) { return (int)((p + 5.0f) / 10.0f); }

// Files an entity in cell i; the caller has checked that the cell has room.
void FileEntity(int cellIndex, Entity* entity);

// Takes the entity in slot k of cell i out of the cell's list (does not delete it).
void RemoveEntitySlot(int cellIndex, int slot);

// Deletes every entity record and empties the whole index.
void ClearEntityIndex();
