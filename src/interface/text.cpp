#include "interface/text.h"

#include <cstdio>

#include "worldgen/place_entities.h"

QuadCoords glyphCoords[GLYPH_COUNT];

void BuildFontCoords()
{
    for (int g = 0; g < GLYPH_COUNT; g++)
        glyphCoords[g] = AtlasQuadCoords((float)(GLYPH_SIZE * (g % GLYPHS_PER_ROW)),
                                         (float)(GLYPH_SIZE * (g / GLYPHS_PER_ROW)), GLYPH_SIZE, GLYPH_SIZE);
}

void DrawText(int x, int y, const char* text)
{
    BeginInterfaceDrawing();
    int pen = x - PEN_START_OFFSET;
    for (const unsigned char* c = (const unsigned char*)text; *c; c++) {
        // A byte with no glyph would index outside the table.
        if (*c < FIRST_GLYPH_CODE || *c > LAST_GLYPH_CODE)
            continue;
        DrawQuad((float)pen, (float)y, GLYPH_SIZE, GLYPH_SIZE, glyphCoords[*c - FIRST_GLYPH_CODE]);
        pen += PEN_ADVANCE;
    }
    EndInterfaceDrawing();
}

void FormatHeadsUpText(char* text, size_t size, int32_t collectablesFound)
{
    snprintf(text, size, "%s%i/%i", "collectables found: ", (int)collectablesFound, COLLECTABLE_TOTAL);
}
