// Save and load of the world file and the core file, in a temporary Saves/ folder.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "bench_folder.h"
#include "player/game_state.h"
#include "world/saves.h"
#include "world/world_grid.h"

// A working directory of its own with a Saves/ folder, a grid with tiles in
// every cell and an index of 4,100 entities, about what a new game places.
static void PrepareSaveBench()
{
    static bool ready = false;
    if (ready)
        return;
    ready = true;
    std::string folder = MakeBenchFolder("bench");
    if (folder.empty() || chdir(folder.c_str()) != 0 || mkdir("Saves", 0755) != 0)
        abort();
    for (int i = 0; i < CELL_COUNT; i++)
        worldGrid[i] = {(uint8_t)(i % TILE_TYPE_COUNT), (uint8_t)(i % ORIENTATION_COUNT)};
    ClearEntityIndex();
    ResetGameState();
    for (int n = 0; n < 4100; n++) {
        int cell = (int)((n * 228617LL) % CELL_COUNT);
        if (entityCount[cell] >= MAX_ENTITIES_PER_CELL)
            continue;
        int32_t kind = n < 1000 ? ENTITY_COLLECTABLE : n < 1100 ? ENTITY_LIFT : ENTITY_PROP;
        FileEntity(cell, new Entity{kind, (float)n, 30.0f, (float)n, 0.5f, 0.0f, 0.075f, 0.0f, 0.05f});
    }
}

static void BM_SaveWorldGrid(benchmark::State& state)
{
    PrepareSaveBench();
    for (auto _ : state)
        SaveWorldGrid();
}
BENCHMARK(BM_SaveWorldGrid)->Unit(benchmark::kMillisecond);

static void BM_LoadWorldGrid(benchmark::State& state)
{
    PrepareSaveBench();
    SaveWorldGrid();
    for (auto _ : state)
        if (!LoadWorldGrid())
            state.SkipWithError("world file refused");
}
BENCHMARK(BM_LoadWorldGrid)->Unit(benchmark::kMillisecond);

static void BM_SaveCoreState(benchmark::State& state)
{
    PrepareSaveBench();
    for (auto _ : state)
        SaveCoreState();
}
BENCHMARK(BM_SaveCoreState)->Unit(benchmark::kMillisecond);

static void BM_LoadCoreState(benchmark::State& state)
{
    PrepareSaveBench();
    SaveCoreState();
    for (auto _ : state)
        if (!LoadCoreState())
            state.SkipWithError("core file refused");
}
BENCHMARK(BM_LoadCoreState)->Unit(benchmark::kMillisecond);
