#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "world/world_grid.h"
#include "worldgen/bridges.h"
#include "worldgen/cave_level.h"
#include "worldgen/channels.h"
#include "worldgen/edge_features_lifts.h"
#include "worldgen/finishing_details.h"
#include "worldgen/floors_interiors.h"
#include "worldgen/generate_world.h"
#include "worldgen/room_level.h"

namespace {

// The world as the bridge pass leaves it, built once and restored before every timed run.
WorldCell bridgedWorld[CELL_COUNT];
bool bridgedWorldReady = false;

void RestoreBridgedWorld()
{
    if (!bridgedWorldReady) {
        srand(1);
        ClearWorldGrid();
        GenerateRoomLevel();
        GenerateChannels();
        GenerateFloorsAndInteriors();
        GenerateCaveLevel();
        GenerateBridges();
        std::memcpy(bridgedWorld, worldGrid, sizeof worldGrid);
        bridgedWorldReady = true;
    }
    std::memcpy(worldGrid, bridgedWorld, sizeof worldGrid);
}

void BM_EdgeFeaturesAndLifts(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        RestoreBridgedWorld();
        srand(2);
        state.ResumeTiming();
        GenerateEdgeFeaturesAndLifts();
    }
}
BENCHMARK(BM_EdgeFeaturesAndLifts)->Unit(benchmark::kMillisecond);

void BM_FinishingDetails(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        RestoreBridgedWorld();
        srand(2);
        GenerateEdgeFeaturesAndLifts();
        state.ResumeTiming();
        GenerateFinishingDetails();
    }
}
BENCHMARK(BM_FinishingDetails)->Unit(benchmark::kMillisecond);

}  // namespace
