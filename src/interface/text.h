// Text: the interface atlas's monospaced bitmap font, one quad per character, and the heads-up line.
#pragma once

#include <cstddef>
#include <cstdint>

#include "interface/quads.h"

constexpr int FIRST_GLYPH_CODE = 32;  // space
constexpr int LAST_GLYPH_CODE = 126;  // tilde
constexpr int GLYPH_COUNT = LAST_GLYPH_CODE - FIRST_GLYPH_CODE + 1;
constexpr int GLYPHS_PER_ROW = 32;
constexpr int GLYPH_SIZE = 20;        // a glyph's cell in the atlas and its quad on screen
constexpr int PEN_ADVANCE = 10;       // pixels from one character to the next
constexpr int PEN_START_OFFSET = 5;   // the first quad starts this far left of the text's x

// The heads-up line: where it is drawn, and a buffer that holds the longest one.
constexpr int HEADS_UP_X = 10;
constexpr int HEADS_UP_Y = 10;
constexpr size_t HEADS_UP_TEXT_SIZE = 64;

extern QuadCoords glyphCoords[GLYPH_COUNT];  // glyph g = code - 32, set by BuildFontCoords

void BuildFontCoords();

// Draws text with the top of the line at y and the pen starting at x. Bytes
// without a glyph (outside 32..126) are skipped: no quad and no advance.
void DrawText(int x, int y, const char* text);

// "collectables found: " N "/1000".
void FormatHeadsUpText(char* text, size_t size, int32_t collectablesFound);
