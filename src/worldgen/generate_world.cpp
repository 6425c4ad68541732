#include "worldgen/generate_world.h"

#include <cstring>

#include "world/world_grid.h"
#include "worldgen/bridges.h"
#include "worldgen/cave_level.h"
#include "worldgen/channels.h"
#include "worldgen/edge_features_lifts.h"
#include "worldgen/finishing_details.h"
#include "worldgen/floors_interiors.h"
#include "worldgen/room_level.h"

void ClearWorldGrid()
{
    memset(worldGrid, 0, sizeof worldGrid);
}

const GenerationPass GENERATION_PASSES[] = {
    GenerateRoomLevel,
    GenerateChannels,
    GenerateFloorsAndInteriors,
    GenerateCaveLevel,
    GenerateBridges,
    GenerateEdgeFeaturesAndLifts,
    GenerateFinishingDetails,
};
const int GENERATION_PASS_COUNT = sizeof GENERATION_PASSES / sizeof GENERATION_PASSES[0];

void GenerateWorld()
{
    ClearWorldGrid();
    for (GenerationPass pass : GENERATION_PASSES)
        pass();
}
