// Channel pass: outlets in thick walls and the channels that run under them on layer 2.
#pragma once

#include "world/world_grid.h"

constexpr int OUTLET_ATTEMPTS = 6250;

// Places outlets and channels on the grid the room level pass left, and dresses them.
void GenerateChannels();

// Steps of GenerateChannels that also run alone on a crafted grid, in the order it runs them.

// Empties every channel cell with rock among its 8 neighbours.
void TrimChannelsAtRock();
// Fills every empty cell lying between two channel cells in a straight line, until
// none is left; works through a list of candidate cells.
void CloseChannelGaps();
