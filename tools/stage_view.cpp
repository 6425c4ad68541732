// Moves the player of a saved game to a view of its world, for the README's
// screenshots: `stage_view bridge` or `stage_view cave`, run in a game folder
// whose Saves/ holds a world and a game. The player is left in free flight,
// so the view stays as staged until a key is pressed. `stage_view collectable`
// puts the player on the collectable nearest the start instead, so that the
// next start takes it in its first frame (the memory check plays that).
#include <cmath>
#include <cstdio>
#include <cstring>

#include "player/game_state.h"
#include "world/saves.h"
#include "world/world_grid.h"

// Whether the k cells from (x, y, z) along (dx, dz) are all of kind `open`:
// empty air to look across a bridge, cave floor to look along a cave.
static bool OpenRun(int x, int y, int z, int dx, int dz, int k, bool cave)
{
    for (int i = 1; i <= k; i++) {
        int t = TileAt(x + dx * i, y, z + dz * i);
        if (cave ? t != TILE_CAVE_OPEN_CENTRE && t != TILE_CAVE_FLOOR : t != TILE_EMPTY)
            return false;
    }
    return true;
}

// Leaves the player at `position` in free flight and saves the game.
static void SaveStagedPlayer(Vec3 position)
{
    gameState.position = position;
    gameState.eye = {position.x, position.y + EYE_HEIGHT, position.z};
    gameState.cell = {PlayerCell(position.x), PlayerCell(position.y), PlayerCell(position.z)};
    gameState.velocity = {0, 0, 0};
    gameState.flyMode = true;
    SaveCoreState();
}

// The feet on the collectable nearest the start position.
static int StageAtCollectable()
{
    const Entity* nearest = nullptr;
    float best = 0;
    for (int i = 0; i < CELL_COUNT * MAX_ENTITIES_PER_CELL; i++) {
        const Entity* e = entitySlots[i];
        if (!e || e->kind != ENTITY_COLLECTABLE)
            continue;
        float dx = e->x - gameState.position.x, dy = e->y - gameState.position.y, dz = e->z - gameState.position.z;
        float squared = dx * dx + dy * dy + dz * dz;
        if (!nearest || squared < best)
            nearest = e, best = squared;
    }
    if (!nearest) {
        fprintf(stderr, "stage_view: no collectable in this game\n");
        return 1;
    }
    SaveStagedPlayer({nearest->x, nearest->y, nearest->z});
    printf("stage_view: on the collectable at (%g, %g, %g)\n", nearest->x, nearest->y, nearest->z);
    return 0;
}

int main(int argc, char** argv)
{
    bool cave = argc == 2 && strcmp(argv[1], "cave") == 0;
    bool collectable = argc == 2 && strcmp(argv[1], "collectable") == 0;
    if (argc != 2 || (!cave && !collectable && strcmp(argv[1], "bridge") != 0)) {
        fprintf(stderr, "usage: stage_view bridge|cave|collectable (in a game folder with saves)\n");
        return 2;
    }
    if (!LoadWorldGrid() || !LoadCoreState()) {
        fprintf(stderr, "stage_view: Saves/ holds no world and game to stage\n");
        return 1;
    }
    if (collectable)
        return StageAtCollectable();
    const int want = cave ? TILE_CAVE_OPEN_CENTRE : TILE_BRIDGE_SPAN;
    // Rings of growing size around the start cell: the nearest such piece
    // with a run of open cells beside it to look from.
    const int cx = NEW_GAME_CELL.x, cz = NEW_GAME_CELL.z;
    for (int r = 0; r < GRID_SIZE_X / 2; r++)
        for (int x = cx - r; x <= cx + r; x++)
            for (int z = cz - r; z <= cz + r; z++) {
                if (std::abs(x - cx) != r && std::abs(z - cz) != r)
                    continue;
                for (int y = 0; y < GRID_LAYERS; y++) {
                    if (TileAt(x, y, z) != want)
                        continue;
                    for (int side = 0; side < ORIENTATION_COUNT; side++) {
                        // Looking at the piece along the side's direction, from the open cells behind.
                        const int d[2] = {SIDE_DX[side], SIDE_DZ[side]};
                        if (!OpenRun(x, y, z, -d[0], -d[1], 3, cave))
                            continue;
                        // Three cells back, looking at the piece, a little above a bridge.
                        float back = cave ? 25.0f : 30.0f;
                        gameState.yaw = std::atan2((float)d[1], (float)d[0]);
                        gameState.pitch = cave ? 0.0f : -0.25f;
                        SaveStagedPlayer({CELL_SIZE * x - back * d[0], CELL_SIZE * y + (cave ? (float)FLOOR_TOP : 2.0f),
                                          CELL_SIZE * z - back * d[1]});
                        printf("stage_view: %s at cell (%d, %d, %d)\n", argv[1], x, y, z);
                        return 0;
                    }
                }
            }
    fprintf(stderr, "stage_view: no %s in this world\n", argv[1]);
    return 1;
}
