// Speed of the last generation passes, each on the world the passes before it leave.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "world/world_grid.h"
#include "worldgen/edge_features_lifts.h"
#include "worldgen/finishing_details.h"
#include "worldgen/generate_world.h"
#include "worldgen/world_random.h"

namespace {

// The world as the generator's passes before `pass` leave it, built once per
// pass and restored before every timed run.
WorldCell worldBefore[CELL_COUNT];
GenerationPass worldBeforePass = nullptr;

void RestoreWorldBefore(GenerationPass pass)
{
    if (worldBeforePass != pass) {
        SeedWorldRandom(1);
        ClearWorldGrid();
        for (int i = 0; i < GENERATION_PASS_COUNT && GENERATION_PASSES[i] != pass; i++)
            GENERATION_PASSES[i]();
        std::memcpy(worldBefore, worldGrid, sizeof worldGrid);
        worldBeforePass = pass;
    }
    std::memcpy(worldGrid, worldBefore, sizeof worldGrid);
}

void BM_GenerationPass(benchmark::State& state, GenerationPass pass)
{
    for (auto _ : state) {
        state.PauseTiming();
        RestoreWorldBefore(pass);
        SeedWorldRandom(2);
        state.ResumeTiming();
        pass();
    }
}
BENCHMARK_CAPTURE(BM_GenerationPass, EdgeFeaturesAndLifts, GenerateEdgeFeaturesAndLifts)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GenerationPass, FinishingDetails, GenerateFinishingDetails)->Unit(benchmark::kMillisecond);

}  // namespace
