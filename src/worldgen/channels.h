// Channel pass: outlets in thick walls and the channels that run under them on layer 2.
#pragma once

#include "world/world_grid.h"

constexpr int OUTLET_ATTEMPTS = 6250;

// Places outlets and channels on the grid the room level pass left, and dresses them.
void GenerateChannels();

// The steps of GenerateChannels in the order it runs them.

// Tests the wall core cell (a, b) for an outlet along z, then along x; each test that
// holds makes the outlet, the channel cell below it and a channel run (one draw each).
void TryOutlet(int a, int b);
// The 6250 random outlet attempts.
void PlaceOutletsAndChannels();
// Empties every channel cell with rock among its 8 neighbours.
void TrimChannelsAtRock();
// Fills every empty cell lying between two channel cells in a straight line, until
// none is left; works through a list of candidate cells.
void CloseChannelGaps();
// Turns empty cells beside channels into side, inner corner and outer corner pieces.
void AddChannelSidesAndCorners();
// Puts a channel head under every outlet.
void MarkChannelHeads();
