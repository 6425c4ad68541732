// Speed of the cave level and bridge passes on a generated world.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "world/world_grid.h"
#include "worldgen/bridges.h"
#include "worldgen/cave_level.h"
#include "worldgen/channels.h"
#include "worldgen/floors_interiors.h"
#include "worldgen/generate_world.h"
#include "worldgen/room_level.h"
#include "worldgen/world_random.h"

// The grid as the passes before the cave pass leave it (and, with cave, before bridges).
static std::vector<WorldCell> WorldBefore(bool withCave)
{
    SeedWorldRandom(2026);
    ClearWorldGrid();
    GenerateRoomLevel();
    GenerateChannels();
    GenerateFloorsAndInteriors();
    if (withCave)
        GenerateCaveLevel();
    return std::vector<WorldCell>(worldGrid, worldGrid + CELL_COUNT);
}

static void BM_GenerateCaveLevel(benchmark::State& state)
{
    std::vector<WorldCell> start = WorldBefore(false);
    for (auto _ : state) {
        state.PauseTiming();
        memcpy(worldGrid, start.data(), sizeof worldGrid);
        SeedWorldRandom(7);
        state.ResumeTiming();
        GenerateCaveLevel();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GenerateCaveLevel)->Unit(benchmark::kMillisecond);

static void BM_GenerateBridges(benchmark::State& state)
{
    std::vector<WorldCell> start = WorldBefore(true);
    for (auto _ : state) {
        state.PauseTiming();
        memcpy(worldGrid, start.data(), sizeof worldGrid);
        SeedWorldRandom(7);
        state.ResumeTiming();
        GenerateBridges();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GenerateBridges)->Unit(benchmark::kMillisecond);
