// Speed of the player update on a generated world: the number keys, the nearby entities of the
// cube around the player, mouse look, movement and collision, standing still and walking a circle.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/display.h"
#include "app/game_loop.h"
#include "app/input.h"
#include "bench_folder.h"
#include "player/game_state.h"
#include "player/player_update.h"
#include "render/model_sets.h"
#include "world/world_grid.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"
#include "worldgen/world_random.h"

// The game's models from Media/ in the working directory, a generated world (seed 1) with its
// entities and a new game; then the working directory becomes a temporary folder with a Saves/,
// where the core file written when a collectable is taken goes. False without the models.
static bool PrepareWorld(benchmark::State& state)
{
    static int ready = -1;
    if (ready < 0) {
        ready = access("Media/worldtiles/worldtile1.obj", R_OK) == 0;
        if (ready) {
            LoadTileModels();
            LoadEntityModels();
            SeedWorldRandom(1);
            GenerateWorld();
            PlaceEntities();
            std::string folder = MakeBenchFolder("player-bench");
            ready = !folder.empty() && chdir(folder.c_str()) == 0 && mkdir("Saves", 0755) == 0;
        }
    }
    if (!ready)
        state.SkipWithError("needs the game's Media/ in the working directory");
    return ready == 1;
}

// Cells both entity scans visit in the cube of the player's cell at the current view distance.
static double CubeCells()
{
    int d = gameState.viewDistance;
    const CellCoord& c = gameState.cell;
    auto span = [d](int centre, int size) { CellSpan s = ClipCellSpan(centre, d, size); return s.to - s.from; };
    return 2.0 * span(c.x, GRID_SIZE_X) * span(c.y, GRID_LAYERS) * span(c.z, GRID_SIZE_Z);
}

// One update at the frame cap's time step (0.96). Standing: the new-game player on the floor of
// the start room, no keys. Walking: W held with the pointer a quarter of the window right of
// centre, a circle about 16 units across; 3000 updates of it run first, so the collectables on
// the circle are taken before the measurement.
static void RunUpdates(benchmark::State& state, bool walking)
{
    if (!PrepareWorld(state))
        return;
    ResetGameState();
    memset(keyState, 0, sizeof keyState);
    appHasMouseFocus = walking;
    screenWidth = 800.0f;
    screenHeight = 600.0f;
    mouseX = 600;
    mouseY = 300;
    if (walking)
        keyState[SDLK_w] = BUTTON_HELD;
    gameState.viewDistance = (int)state.range(0);
    for (int i = 0; i < 3000; i++)
        UpdateGame(0.96f);
    for (auto _ : state) {
        UpdateGame(0.96f);
        benchmark::ClobberMemory();
    }
    state.counters["cells"] = CubeCells();
    state.counters["found"] = gameState.collectablesFound;
    memset(keyState, 0, sizeof keyState);
}

static void BM_UpdateGameStanding(benchmark::State& state) { RunUpdates(state, false); }
static void BM_UpdateGameWalking(benchmark::State& state) { RunUpdates(state, true); }
BENCHMARK(BM_UpdateGameStanding)->Arg(10)->Arg(20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateGameWalking)->Arg(10)->Arg(20)->Unit(benchmark::kMicrosecond);
