#include "player/nearby_entities.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "player/game_state.h"
#include "world/saves.h"
#include "world/world_grid.h"

// The cube both scans visit: viewDistance cells around the player's cell on
// each axis, clipped to the grid.
struct NearbyCube {
    CellSpan x, y, z;
};

static NearbyCube CubeAroundPlayer()
{
    int d = gameState.viewDistance;
    const CellCoord& c = gameState.cell;
    return NearbyCube{ClipCellSpan(c.x, d, GRID_SIZE_X), ClipCellSpan(c.y, d, GRID_LAYERS),
                      ClipCellSpan(c.z, d, GRID_SIZE_Z)};
}

// The first z from `z` up to (not including) `end` at which cell (x, y, z) has
// entities filed, or `end`. Most cells have none: they are passed eight at a time.
static int NextFiledCell(int x, int y, int z, int end)
{
    return SkipEmptyCounts(&entityCount[CellIndex(x, y, 0)], z, end);
}

// The tile of (x, y, z); a layer off the grid exists nowhere and matches no tile.
static int TileOnLayer(int x, int y, int z)
{
    return y >= 0 && y < GRID_LAYERS ? worldGrid[CellIndex(x, y, z)].tileType : -1;
}

// ---- collectables

bool OutOfPickupReach(const Vec3& collectable, const Vec3& feet)
{
    float dx = collectable.x - feet.x, dy = collectable.y - feet.y, dz = collectable.z - feet.z;
    return sqrt((double)dx * dx + (double)dy * dy + (double)dz * dz) >= PICKUP_RADIUS;
}

// Spins the collectable in slot k of cell i and takes it when the player's
// feet are within reach; true when it was taken and the slot now holds the
// cell's next entity, if any.
static bool UpdateCollectable(int i, int k, float dt)
{
    Entity& e = *EntitySlot(i, k);
    e.angle += e.spinRate * dt;
    if (OutOfPickupReach(Vec3{e.x, e.y, e.z}, gameState.position))
        return false;
    // The slot owns the record: it is released here, once, as it leaves the index.
    delete &e;
    RemoveEntitySlot(i, k);
    gameState.collectablesFound += 1;
    // The find is on disk at once, with the collectable gone.
    SaveCoreState();
    return true;
}

// ---- lifts

// Moves the lift filed in cell (x, y, z); it waits for a player riding it up
// near the top or standing far below it near the bottom, and turns at the
// centre height of the lift-top and lift-bottom cells.
static void UpdateLift(Entity& e, int x, int y, int z, float dt)
{
    e.y += e.velocityY * dt;
    const GameState& s = gameState;
    bool inColumn = x == s.cell.x && z == s.cell.z;
    float centre = (float)(CELL_SIZE * y);
    if (e.velocityY > 0.0f) {
        bool nearTop = TileOnLayer(x, y, z) == TILE_LIFT_TOP || TileOnLayer(x, y + 1, z) == TILE_LIFT_TOP;
        if (inColumn && e.y < s.position.y && nearTop)
            e.y -= dt * e.velocityY;
        if (TileOnLayer(x, y, z) == TILE_LIFT_TOP && e.y > centre) {
            e.y = centre;
            e.velocityY = -e.velocityY;
        }
    } else {
        bool nearBottom = TileOnLayer(x, y, z) == TILE_LIFT_BOTTOM || TileOnLayer(x, y - 1, z) == TILE_LIFT_BOTTOM;
        if (inColumn && e.y - LIFT_CLEARANCE > s.position.y && nearBottom)
            e.y -= dt * e.velocityY;
        if (TileOnLayer(x, y, z) == TILE_LIFT_BOTTOM && e.y < centre) {
            e.y = centre;
            e.velocityY = -e.velocityY;
        }
    }
}

void UpdateNearbyEntities(float dt)
{
    NearbyCube cube = CubeAroundPlayer();
    for (int x = cube.x.from; x < cube.x.to; x++)
        for (int y = cube.y.from; y < cube.y.to; y++)
            for (int z = NextFiledCell(x, y, cube.z.from, cube.z.to); z < cube.z.to;
                 z = NextFiledCell(x, y, z + 1, cube.z.to)) {
                int i = CellIndex(x, y, z);
                for (int k = 0; k < entityCount[i];) {
                    Entity& e = *EntitySlot(i, k);
                    if (e.kind == ENTITY_COLLECTABLE && UpdateCollectable(i, k, dt))
                        continue;  // the same slot now holds the cell's next entity
                    if (e.kind == ENTITY_LIFT)
                        UpdateLift(e, x, y, z, dt);
                    k++;
                }
            }
}

// ---- re-filing

void RefileNearbyEntities()
{
    NearbyCube cube = CubeAroundPlayer();
    for (int x = cube.x.from; x < cube.x.to; x++)
        for (int y = cube.y.from; y < cube.y.to; y++)
            for (int z = NextFiledCell(x, y, cube.z.from, cube.z.to); z < cube.z.to;
                 z = NextFiledCell(x, y, z + 1, cube.z.to)) {
                int i = CellIndex(x, y, z);
                // After a move the entity that slides into slot k waits for the next update.
                for (int k = 0; k < entityCount[i]; k++) {
                    Entity* e = EntitySlot(i, k);
                    int hx, hy, hz;
                    if (!EntityHomeCell(e->x, GRID_SIZE_X, hx) || !EntityHomeCell(e->y, GRID_LAYERS, hy) ||
                        !EntityHomeCell(e->z, GRID_SIZE_Z, hz))
                        continue;
                    int home = CellIndex(hx, hy, hz);
                    if (home == i || entityCount[home] >= MAX_ENTITIES_PER_CELL)
                        continue;
                    FileEntity(home, e);
                    RemoveEntitySlot(i, k);
                }
            }
}
