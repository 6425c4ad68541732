// World grid: the 250 x 15 x 250 tile grid and the per-cell entity index.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

constexpr int GRID_SIZE_X = 250;
constexpr int GRID_LAYERS = 15;
constexpr int GRID_SIZE_Z = 250;
constexpr int CELL_COUNT = GRID_SIZE_X * GRID_LAYERS * GRID_SIZE_Z;  // 937,500
constexpr int COLUMN_COUNT = GRID_SIZE_X * GRID_SIZE_Z;               // columns (x, z), 62,500
constexpr int LAYER_CELLS = GRID_SIZE_Z;                // index step from one layer to the next
constexpr int COLUMN_CELLS = GRID_LAYERS * GRID_SIZE_Z;  // index step from one x to the next, 3750
constexpr int CELL_SIZE = 10;                           // world units along each side of a cell
constexpr int WORLD_EXTENT_X = GRID_SIZE_X * CELL_SIZE;  // world units the grid spans along x, 2500
constexpr int WORLD_EXTENT_Z = GRID_SIZE_Z * CELL_SIZE;  // and along z
// Heights of the models' walking surfaces above their cell's centre, as the asset generator
// builds them: every floor of a room, a storey or a cave, and a channel's bed, 0.6 below the
// walkways beside it.
constexpr double FLOOR_TOP = -4.0;
constexpr double CHANNEL_BED_TOP = -4.6;
// The columns inside the boundary ring that closes the world: x in 1..INNER_LAST_X
// and z in 1..INNER_LAST_Z. Most generation draws and walks keep to them.
constexpr int INNER_LAST_X = GRID_SIZE_X - 2;  // 248
constexpr int INNER_LAST_Z = GRID_SIZE_Z - 2;  // 248

// The layers the generator builds on, from the bottom up.
constexpr int CAVE_LAYER = 0;                 // the cave floors and the descents' feet
constexpr int CHANNEL_LAYER = 2;              // the channels under the thick walls, and the rock around them
constexpr int ROOM_LAYER = 3;                 // the rooms, walls and floors; the layer the minimap shows
constexpr int TOP_LAYER = GRID_LAYERS - 1;    // the highest layer, where lift shafts and columns end
constexpr int TILE_TYPE_COUNT = 46;
constexpr int ORIENTATION_COUNT = 4;
// The step (dx, dz) toward side o of a cell: the base model's -x side turned o quarter turns, each
// turn taking (dx, dz) to (dz, -dx): -x, +z, +x, -z. The base model's +z side is side PlusZSide(o).
constexpr int SIDE_DX[ORIENTATION_COUNT] = {-1, 0, 1, 0};
constexpr int SIDE_DZ[ORIENTATION_COUNT] = {0, 1, 0, -1};
constexpr int PlusZSide(int o) { return (o + 1) % ORIENTATION_COUNT; }
constexpr int MAX_ENTITIES_PER_CELL = 2;
constexpr int ENTITY_KIND_COUNT = 3;

// What each cell holds; each code has its own model, drawn in the cell's orientation.
enum TileCode : uint8_t {
    TILE_EMPTY = 0,                       // nothing drawn, no collision
    TILE_BOUNDARY = 1,                    // closes the world: the outer ring of cells and the top layer
    TILE_CORNER_COLUMN = 2,               // room interior above a corner floor, turned as that floor
    TILE_WALL_COLUMN = 3,                 // room interior above a wall-side floor, turned as that floor
    TILE_THICK_WALL_COLUMN = 4,           // room interior above a thick-wall-side floor, turned as that floor
    TILE_ROOM_TOP = 5,                    // topmost interior cell above a plain floor: the room's roof
    TILE_CAVE_WALL = 6,                   // cave wall beside one open cave cell
    TILE_WALL_CORE_CENTRE = 7,            // wall core on the centre line of a thick wall
    TILE_WALL = 8,                        // wall skin beside open space; finished worlds keep it only next to a thick-wall core
    TILE_WALL_CORNER = 9,                 // wall skin in a concave corner of a thick wall
    TILE_WALL_CORE = 10,                  // the inside of a thick wall
    TILE_WALL_OUTLET = 11,                // thick-wall core above the head of a channel
    TILE_CHANNEL_SIDE = 12,               // layer-2 cell beside a channel
    TILE_CHANNEL = 13,                    // layer-2 channel cell
    TILE_CHANNEL_HEAD = 14,               // layer-2 channel cell under an outlet
    TILE_SPARE = 15,                      // has a model; only the tile editor places it
    TILE_CAVE_OPEN_CENTRE = 16,           // open cave cell whose eight neighbours are open
    TILE_CAVE_ENTRANCE = 17,              // foot of a descent, facing into the cave
    TILE_CAVE_FLOOR = 18,                 // open cave cell
    TILE_CAVE_BLOCK = 19,                 // solid cave cell at a corner or junction
    TILE_ROCK = 20,                       // solid rock outside the rooms (layer 2 for good, layer 3 only while generating)
    TILE_DESCENT_TOP = 21,                // channel-side cell where a descent begins
    TILE_DESCENT_RAMP = 22,               // ramp piece of a descent
    TILE_CORNER_FLOOR = 23,               // room floor with walls on two perpendicular sides
    TILE_WALL_FLOOR = 24,                 // room floor beside a wall
    TILE_THICK_WALL_FLOOR = 25,           // room floor two cells from a thick-wall core
    TILE_EDGE_FEATURE = 26,               // room edge floor replaced by a feature
    TILE_FLOOR = 27,                      // plain room floor, and the interior stacked above it below the top
    TILE_CHANNEL_INNER_CORNER = 28,       // layer-2 cell with channel on two perpendicular sides
    TILE_CHANNEL_OUTER_CORNER = 29,       // layer-2 cell with exactly one diagonal channel neighbour
    TILE_CAVE_PARTITION = 30,             // solid cave cell between two opposite open cells
    TILE_BRIDGE_SHORT = 31,               // one-cell bridge
    TILE_LIFT_BOTTOM = 32,                // foot of a lift shaft, where a lift rests and turns back up
    TILE_LIFT_SHAFT = 33,                 // cell a lift passes through
    TILE_LIFT_TOP = 34,                   // head of a lift shaft, where a lift turns back down
    TILE_ROCK_EDGE = 35,                  // layer-2 rock beside the foot of a wall
    TILE_BRIDGE_END = 36,                 // column cell a bridge starts or ends on
    TILE_BRIDGE_SPAN = 37,                // bridge cell over a gap
    TILE_ROCK_CORNER = 38,                // layer-2 rock beside the feet of two perpendicular walls
    TILE_PROP_GROUND = 39,                // room-level wall cell with no thick-wall core beside it; props stand on it
    TILE_ROOM_TOP_DOUBLE = 40,            // room top that takes in a neighbouring room top
    TILE_WALL_FIXTURE_1 = 41,             // fixture on the outer face of a wall column, first kind
    TILE_WALL_FIXTURE_2 = 42,             // fixture on the outer face of a wall column, second kind
    TILE_WALL_FIXTURE_3 = 43,             // fixture on the outer face of a wall column, third kind
    TILE_WALL_FIXTURE_WIDE = 44,          // wide wall fixture, kept apart from others of its kind
    TILE_COLUMN_CAP = 45,                 // cap on top of a wall column
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
extern Entity* entitySlots[CELL_COUNT * MAX_ENTITIES_PER_CELL];  // read through EntitySlot
extern const bool entityKindIsSolid[ENTITY_KIND_COUNT];      // lifts and props block the player

inline int CellIndex(int x, int y, int z) { return x * COLUMN_CELLS + y * LAYER_CELLS + z; }

// Slot k (0 or 1) of cell i in the entity index.
inline Entity*& EntitySlot(int cellIndex, int slot) { return entitySlots[cellIndex * MAX_ENTITIES_PER_CELL + slot]; }

inline WorldCell& GridCell(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)]; }

// Index of column (x, z) in a table of one value per column (a layer's worth), x slowest.
inline int ColumnIndex(int x, int z) { return x * GRID_SIZE_Z + z; }
// The x and the z of a column index.
inline int ColumnX(int column) { return column / GRID_SIZE_Z; }
inline int ColumnZ(int column) { return column % GRID_SIZE_Z; }

// The first i from `from` up to (not including) `end` with counts[i] != 0, or `end`. Most cells hold
// no entity, so the run of zeros is passed eight counts at a time.
inline int SkipEmptyCounts(const int8_t* counts, int from, int end)
{
    int i = from;
    for (uint64_t eight; i + 8 <= end; i += 8) {
        memcpy(&eight, counts + i, sizeof eight);
        if (eight != 0)
            break;
    }
    while (i < end && counts[i] == 0)
        i++;
    return i;
}

// Whether column (x, z) lies on the grid.
inline bool InGrid(int x, int z) { return x >= 0 && x < GRID_SIZE_X && z >= 0 && z < GRID_SIZE_Z; }

// Tile code of (x, y, z); a column off the grid reads as the boundary that
// closes the world, so neighbour tests and walks stop at the edge.
inline int TileAt(int x, int y, int z)
{
    return InGrid(x, z) ? worldGrid[CellIndex(x, y, z)].tileType : (int)TILE_BOUNDARY;
}

// The cells centre - reach .. centre + reach along one axis of `size` cells,
// clipped to the grid, as from (first) .. to (past the last); empty when they
// miss the grid. Worked in 64 bits so that any loaded centre is safe.
struct CellSpan {
    int from, to;
};
inline CellSpan ClipCellSpan(int centre, int reach, int size)
{
    int64_t from = (int64_t)centre - reach, to = (int64_t)centre + reach + 1;
    if (from < 0)
        from = 0;
    if (to > size)
        to = size;
    return to > from ? CellSpan{(int)from, (int)to} : CellSpan{0, 0};
}

// ---- the two rules for the cell that holds a world coordinate
// They agree from -5 up. Below that the player's cell stays 0, so the cells
// around a player who has left the grid are still tested; an entity's home cell
// is off the grid, so it is never filed there.

// The player's cell coordinate: trunc((p + 5) / 10). Values beyond the integer
// range (a position no play reaches, or one loaded from a file) saturate, and
// NaN gives a cell off the grid, instead of the undefined conversion.
inline int PlayerCell(float p)
{
    float c = (p + (float)CELL_SIZE / 2) / (float)CELL_SIZE;
    if (!(c > -2147483648.0f && c < 2147483648.0f))
        return c > 0.0f ? INT32_MAX : INT32_MIN;
    return (int)c;
}

// An entity's home cell coordinate, floor(p / 10 + 0.5) with the sum rounded
// to float, into `cell`; false when it lies off the axis's `size` cells.
inline bool EntityHomeCell(float p, int size, int& cell)
{
    float home = floorf(p / (float)CELL_SIZE + 0.5f);
    if (!(home >= 0.0f && home < (float)size))
        return false;
    cell = (int)home;
    return true;
}

// Files an entity in cell i; the caller has checked that the cell has room.
void FileEntity(int cellIndex, Entity* entity);

// Takes the entity in slot k of cell i out of the cell's list (does not delete it).
void RemoveEntitySlot(int cellIndex, int slot);

// Deletes every entity record and empties the whole index.
void ClearEntityIndex();
