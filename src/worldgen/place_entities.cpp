#include "worldgen/place_entities.h"

#include <cstdlib>

#include "world/mathlib.h"
#include "world/world_grid.h"
#include "worldgen/world_random.h"

bool CollectableMayStand(int x, int y, int z)
{
    switch (worldGrid[CellIndex(x, y, z)].tileType) {
    case TILE_WALL_COLUMN:
    case TILE_THICK_WALL_COLUMN:
    case TILE_ROOM_TOP:
    case TILE_WALL_CORE_CENTRE:
    case TILE_WALL:
    case TILE_WALL_CORNER:
    case TILE_WALL_CORE:
    case TILE_WALL_OUTLET:
    case TILE_CHANNEL:
    case TILE_CAVE_OPEN_CENTRE:
    case TILE_CAVE_ENTRANCE:
    case TILE_CAVE_FLOOR:
    case TILE_FLOOR:
        return true;
    default:
        break;
    }
    return y != 0 && worldGrid[CellIndex(x, y - 1, z)].tileType == TILE_ROOM_TOP;
}

// Counts the cells a collectable draw can reach (inside the boundary ring, below the top layer)
// that are eligible, with the index freshly emptied.
static int CountCollectableCells()
{
    int count = 0;
    for (int x = 1; x <= INNER_LAST_X; x++)
        for (int y = 0; y < TOP_LAYER; y++)
            for (int z = 1; z <= INNER_LAST_Z; z++)
                if (CollectableMayStand(x, y, z))
                    count++;
    return count;
}

static Entity* NewEntity(int kind)
{
    Entity* entity = new Entity();  // every field 0
    entity->kind = kind;
    return entity;
}

static void PlaceCollectables()
{
    // The draws go on until every collectable is placed. A grid with fewer
    // eligible cells than collectables would never finish, so the loop also
    // ends once no free eligible cell is left; on any grid with enough cells
    // this changes neither the draws nor the placement.
    int freeCells = CountCollectableCells();
    int placed = 0;
    while (placed < COLLECTABLE_TOTAL && freeCells > 0) {
        int x = WorldRandom() % INNER_LAST_X + 1;
        int y = WorldRandom() % TOP_LAYER;
        int z = WorldRandom() % INNER_LAST_Z + 1;
        int cell = CellIndex(x, y, z);
        if (!CollectableMayStand(x, y, z) || entityCount[cell] != 0)
            continue;
        Entity* entity = NewEntity(ENTITY_COLLECTABLE);
        entity->x = (float)(CELL_SIZE * x);
        entity->y = (float)(CELL_SIZE * y - 3);
        entity->z = (float)(CELL_SIZE * z);
        entity->angle = (float)(WorldRandom() % 1000);
        entity->spinRate = COLLECTABLE_SPIN_RATE;
        FileEntity(cell, entity);
        placed++;
        freeCells--;
    }
}

static void PlaceLifts()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int y = 0; y < GRID_LAYERS; y++)
            for (int z = 0; z < GRID_SIZE_Z; z++) {
                int cell = CellIndex(x, y, z);
                if (worldGrid[cell].tileType != TILE_LIFT_BOTTOM || entityCount[cell] >= MAX_ENTITIES_PER_CELL)
                    continue;
                Entity* entity = NewEntity(ENTITY_LIFT);
                entity->x = (float)(CELL_SIZE * x);
                entity->y = (float)(CELL_SIZE * y);
                entity->z = (float)(CELL_SIZE * z);
                entity->angle = (float)(worldGrid[cell].orientation * QUARTER_TURN_DEGREES) * DEGREES_TO_RADIANS;
                entity->velocityY = LIFT_SPEED;
                FileEntity(cell, entity);
            }
}

static void PlaceProps()
{
    for (int attempt = 0; attempt < PROP_ATTEMPTS; attempt++) {
        int x = WorldRandom() % GRID_SIZE_X;
        int z = WorldRandom() % GRID_SIZE_Z;
        int cell = CellIndex(x, ROOM_LAYER, z);
        uint8_t tile = worldGrid[cell].tileType;
        if ((tile != TILE_WALL && tile != TILE_PROP_GROUND) || entityCount[cell] >= MAX_ENTITIES_PER_CELL)
            continue;
        int jx = WorldRandom() % 80;
        int jz = WorldRandom() % 80;
        int a = WorldRandom() % 360;
        Entity* entity = NewEntity(ENTITY_PROP);
        entity->x = (float)(CELL_SIZE * x - 4) + 0.1f * (float)jx;
        entity->y = PROP_HEIGHT;
        entity->z = (float)(CELL_SIZE * z - 4) + 0.1f * (float)jz;
        entity->angle = (float)a * DEGREES_TO_RADIANS;
        FileEntity(cell, entity);
    }
}

void PlaceEntities()
{
    ClearEntityIndex();
    PlaceCollectables();
    PlaceLifts();
    PlaceProps();
}
