// Speed of new-game entity placement on a generated world.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "world/world_grid.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"
#include "worldgen/world_random.h"

// Collectables, lifts and props for one generated world; a new seed per run.
static void BM_PlaceEntities(benchmark::State& state)
{
    SeedWorldRandom(1);
    GenerateWorld();
    unsigned seed = 1;
    for (auto _ : state) {
        SeedWorldRandom(seed++);
        PlaceEntities();
        benchmark::DoNotOptimize(entityCount);
        benchmark::ClobberMemory();
    }
    ClearEntityIndex();
}
BENCHMARK(BM_PlaceEntities)->Unit(benchmark::kMillisecond);
