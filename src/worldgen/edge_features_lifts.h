// Room edge features and lifts pass: features on the floor ring of each plain-floor block, one lift per block.
#pragma once

#include <cstdint>

#include "world/world_grid.h"

// Places the edge features of every floor block, then stands one lift in every block (draws WorldRandom()).
void GenerateEdgeFeaturesAndLifts();
