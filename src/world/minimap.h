// Minimap picture: the colours of the room level seen from above, one texel a cell.
#pragma once

#include "world/world_grid.h"

constexpr int MAP_CELLS = GRID_SIZE_X;  // cells along each side of the picture's filled part

// The smallest power of two not below `cells`, found by doubling from 2.
int MapPictureSize(int cells);

// The RGB colour a layer-3 tile code shows on the map.
void MapTileColour(int tileType, unsigned char rgb[3]);

// Fills a width x height RGB picture (3 bytes a texel, rows along z, columns
// along x) from layer 3 of the grid; texels outside the 250 x 250 cells are black.
void FillMapPicture(unsigned char* picture, int width, int height);
