// Minimap drawing: the map picture as an OpenGL texture, drawn each frame as a window turned with the view.
#pragma once

constexpr float MAP_ZOOM = 3.5f;  // the window shows 1 / 3.5 of the map on each axis

extern unsigned int mapTexture;  // OpenGL name of the map picture, 0 before BuildMapTexture
extern float mapScaleU;          // part of the texture width the map's cells fill (250 / 256)
extern float mapScaleV;          // part of the texture height the map's cells fill (250 / 256)

// Makes the map texture from the current grid. Needs an OpenGL context.
void BuildMapTexture();

// Draws the map window in the bottom-left corner and the player marker at its
// centre. Expects the 2D pixel mode of Begin2D.
void DrawMapOverlay();
