// Minimap drawing: the map picture as an OpenGL texture, drawn each frame as a window turned with the view.
#pragma once

constexpr float MAP_ZOOM = 3.5f;  // the window shows 1 / 3.5 of the map on each axis
constexpr int MAP_WINDOW_MARGIN = 10;  // pixels between the window and the screen's left and bottom edges
constexpr int MAP_WINDOW_SIZE = 250;   // pixels along each side of the square window
constexpr int MAP_MARKER_SIZE = 4;     // pixels along each side of the player marker
// Pixels from the screen's left (and bottom) edge to the marker's near side: the marker sits at the window's centre.
constexpr int MAP_MARKER_LOW = MAP_WINDOW_MARGIN + (MAP_WINDOW_SIZE - MAP_MARKER_SIZE) / 2;  // 133
// World units by which the window's centre in the picture sits off the player: back 58 along x, on 5 along z.
constexpr float MAP_CENTRE_BACK_X = 58.0f;
constexpr float MAP_CENTRE_ON_Z = 5.0f;

extern unsigned int mapTexture;  // OpenGL name of the map picture, 0 before BuildMapTexture
extern float mapScaleU;          // part of the texture width the map's cells fill (250 / 256)
extern float mapScaleV;          // part of the texture height the map's cells fill (250 / 256)

// Makes the map texture from the current grid. Needs an OpenGL context.
void BuildMapTexture();

// Draws the map window in the bottom-left corner and the player marker at its
// centre. Expects the 2D pixel mode of Begin2D.
void DrawMapOverlay();
