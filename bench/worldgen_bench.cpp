// Speed of world generation: the whole sequence of passes from a cleared grid.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "world/world_grid.h"
#include "worldgen/generate_world.h"
#include "worldgen/world_random.h"

// A whole new world, from the cleared grid to the finished passes; a new seed per run.
static void BM_GenerateWorld(benchmark::State& state)
{
    unsigned seed = 1;
    for (auto _ : state) {
        SeedWorldRandom(seed++);
        GenerateWorld();
        benchmark::DoNotOptimize(worldGrid);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GenerateWorld)->Unit(benchmark::kMillisecond);
