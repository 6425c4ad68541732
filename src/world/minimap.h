// Minimap: a top-down picture of the room level, drawn each frame as a window turned with the view.
#pragma once

#include "world/world_grid.h"

constexpr int MAP_CELLS = GRID_SIZE_X;  // cells along each side of the picture's filled part
constexpr float MAP_ZOOM = 3.5f;       // the window shows 1 / 3.5 of the map on each axis

extern unsigned int mapTexture;  // OpenGL name of the map picture, 0 before BuildMapTexture
extern float mapScaleU;          // part of the texture width the map's cells fill (250 / 256)
extern float mapScaleV;          // part of the texture height the map's cells fill (250 / 256)

// The smallest power of two not below `cells`, found by doubling from 2.
int MapPictureSize(int cells);

// The RGB colour a layer-3 tile code shows on the map.
void MapTileColour(int tileType, unsigned char rgb[3]);

// Fills a width x height RGB picture (3 bytes a texel, rows along z, columns
// along x) from layer 3 of the grid; texels outside the 250 x 250 cells are black.
void FillMapPicture(unsigned char* picture, int width, int height);

// Makes the map texture from the current grid. Needs an OpenGL context.
void BuildMapTexture();

// Draws the map window in the bottom-left corner and the player marker at its
// centre. Expects the 2D pixel mode of Begin2D.
void DrawMapOverlay();
