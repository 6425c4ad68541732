#include "worldgen/place_entities.h"

#include <cstdlib>

#include "world/mathlib.h"
#include "world/world_grid.h"

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

// Counts the cells a collectable draw can reach (x and z 1..248, y 0..13)
// that are eligible, with the index freshly emptied.
static int CountCollectableCells()
{
    int count = 0;
    for (int x = 1; x <= 248; x++)
        for (int y = 0; y <= 13; y++)
            for (int z = 1; z <= 248; z++)
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
        int x = rand() % 248 + 1;
        int y = rand() % 14;
        int z = rand() % 248 + 1;
        int cell = CellIndex(x, y, z);
        if (!CollectableMayStand(x, y, z) || entityCount[cell] != 0)
            continue;
        Entity* entity = NewEntity(ENTITY_COLLECTABLE);
        entity->x = (float)(10 * x);
        entity->y = (float)(10 * y - 3);
        entity->z = (float)(10 * z);
        entity->angle = (float)(rand() % 1000);
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
                entity->x = (float)(10 * x);
                entity->y = (float)(10 * y);
                entity->z = (float)(10 * z);
                entity->angle = (float)(worldGrid[cell].orientation * 90) * DEGREES_TO_RADIANS;
                entity->velocityY = LIFT_SPEED;
                FileEntity(cell, entity);
            }
}

static void PlaceProps()
{
    for (int attempt = 0; attempt < PROP_ATTEMPTS; attempt++) {
        int x = rand() % 250;
        int z = rand() % 250;
        int cell = CellIndex(x, ROOM_LAYER, z);
        uint8_t tile = worldGrid[cell].tileType;
        if ((tile != TILE_WALL && tile != TILE_PROP_GROUND) || entityCount[cell] >= MAX_ENTITIES_PER_CELL)
            continue;
        int jx = rand() % 80;
        int jz = rand() % 80;
        int a = rand() % 360;
        Entity* entity = NewEntity(ENTITY_PROP);
        entity->x = (float)(10 * x - 4) + 0.1f * (float)jx;
        entity->y = PROP_HEIGHT;
        entity->z = (float)(10 * z - 4) + 0.1f * (float)jz;
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
