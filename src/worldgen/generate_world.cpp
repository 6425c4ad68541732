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

void GenerateWorld()
{
    // Each pass reads what the ones before it wrote, so the order is fixed.
    ClearWorldGrid();
    GenerateRoomLevel();
    GenerateChannels();
    GenerateFloorsAndInteriors();
    GenerateCaveLevel();
    GenerateBridges();
    GenerateEdgeFeaturesAndLifts();
    GenerateFinishingDetails();
}
