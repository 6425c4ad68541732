// Buttons: immediate-mode menu buttons, a nine-piece frame with a centred caption that also reports its click.
#pragma once

#include "interface/quads.h"

constexpr int FRAME_STYLE_NORMAL = 0;
constexpr int FRAME_STYLE_HOVER = 1;  // the mouse is over the button
constexpr int FRAME_PIECE_SIZE = 20;  // a piece's atlas cell, and the border's width on screen
constexpr int FRAME_INNER_WIDTH = 300;
constexpr int FRAME_INNER_HEIGHT = 15;
// A button reacts to the mouse over its inner area grown by this many pixels on every side.
constexpr int BUTTON_HIT_MARGIN = 13;

// Per style, piece 3i + j: column i (0 left, 1 middle, 2 right), row j (0 top,
// 1 middle, 2 bottom). Set by BuildFrameCoords.
extern QuadCoords frameCoords[2][9];

void BuildFrameCoords();

// A frame whose 300 x 15 inner area has its top-left corner at (x, y); it
// covers (x - 20, y - 20) to (x + 320, y + 35).
void DrawFrame(int x, int y, int style);

// Draws the button centred on (centerX, y), highlighted while the mouse is
// over it, and reports whether the left button went down over it this frame.
bool DrawButton(const char* label, int centerX, int y);
