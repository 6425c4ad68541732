// Interface atlas: the font rendered by FreeType, the button frames, the mouse pointer and the menu bars.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "make_assets.h"

// ---- painting

struct Colour {
    double r, g, b, a;  // 0..255 each
};

static std::vector<uint8_t> atlas;  // RGBA, rows top first

// Paints over an atlas pixel with the given colour and coverage (0..1).
static void Blend(int x, int y, Colour c, double coverage)
{
    if (x < 0 || y < 0 || x >= ATLAS_W || y >= ATLAS_H || coverage <= 0) return;
    uint8_t* p = &atlas[((size_t)y * ATLAS_W + x) * 4];
    double srcA = c.a / 255.0 * std::min(1.0, coverage);
    double dstA = p[3] / 255.0;
    double outA = srcA + dstA * (1 - srcA);
    if (outA <= 0) return;
    double channels[3] = {c.r, c.g, c.b};
    for (int k = 0; k < 3; k++) {
        double value = (channels[k] * srcA + p[k] * dstA * (1 - srcA)) / outA;
        p[k] = (uint8_t)std::lround(std::max(0.0, std::min(255.0, value)));
    }
    p[3] = (uint8_t)std::lround(outA * 255);
}

// ---- font

// Font: DejaVu Sans Mono from Debian's fonts-dejavu-core, rendered by
// FreeType with its grey anti-aliasing at the largest pixel size whose every
// glyph is at most 8 pixels wide and 16 high. With a one-pixel outline a glyph
// then stays within columns 5..14 of its 20 x 20 cell, the 10 pixels the pen
// advance gives each character, so neighbours never overlap.
static const char* FONT_PATH = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
static const int GLYPH_MAX_WIDTH = 8, GLYPH_MAX_HEIGHT = 16, GLYPH_LEFT = 6, GLYPH_BASELINE = 15;

// The coverage (0..1) of each glyph's pixels in its cell, 20 x 20 a glyph.
static std::vector<double> glyphCoverage;

bool RenderFont()
{
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library) != 0) return false;
    if (FT_New_Face(library, FONT_PATH, 0, &face) != 0) {
        fprintf(stderr, "make_assets: cannot read the font %s (install fonts-dejavu-core)\n", FONT_PATH);
        FT_Done_FreeType(library);
        return false;
    }
    // The largest size at which every glyph fits its box.
    int size = 20;
    for (; size > 6; size--) {
        FT_Set_Pixel_Sizes(face, 0, (FT_UInt)size);
        int widest = 0, tallest = 0;
        for (int c = 33; c < 127; c++) {
            if (FT_Load_Char(face, (FT_ULong)c, FT_LOAD_RENDER) != 0) continue;
            widest = std::max(widest, (int)face->glyph->bitmap.width);
            tallest = std::max(tallest, (int)face->glyph->bitmap.rows);
        }
        if (widest <= GLYPH_MAX_WIDTH && tallest <= GLYPH_MAX_HEIGHT) break;
    }
    glyphCoverage.assign(95 * 400, 0.0);
    for (int g = 1; g < 95; g++) {
        if (FT_Load_Char(face, (FT_ULong)(g + 32), FT_LOAD_RENDER) != 0) continue;
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        // Centred in the 8 columns; the baseline on one row of every cell.
        int left = GLYPH_LEFT + (GLYPH_MAX_WIDTH - (int)bitmap.width) / 2;
        int top = std::max(1, GLYPH_BASELINE - face->glyph->bitmap_top);
        for (int y = 0; y < (int)bitmap.rows && top + y < 19; y++)
            for (int x = 0; x < (int)bitmap.width; x++)
                glyphCoverage[g * 400 + (top + y) * 20 + left + x] = bitmap.buffer[y * bitmap.pitch + x] / 255.0;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return true;
}

static double GlyphCoverage(int glyph, int x, int y)
{
    if (x < 0 || y < 0 || x >= 20 || y >= 20) return 0;
    return glyphCoverage[glyph * 400 + y * 20 + x];
}

// White glyphs over a dark outline that follows each glyph's shape.
static void DrawGlyphs()
{
    const Colour ink = {255, 255, 255, 255}, outline = {16, 12, 8, 235};
    for (int g = 0; g < 95; g++) {
        int cellX = 20 * (g % 32), cellY = 20 * (g / 32);
        for (int y = 0; y < 20; y++) {
            for (int x = 0; x < 20; x++) {
                double around = 0;
                for (int dy = -1; dy <= 1; dy++)
                    for (int dx = -1; dx <= 1; dx++) around = std::max(around, GlyphCoverage(g, x + dx, y + dy));
                Blend(cellX + x, cellY + y, outline, around);
                Blend(cellX + x, cellY + y, ink, GlyphCoverage(g, x, y));
            }
        }
    }
}

// ---- button frames, pointer and menu bars

double RoundedBoxDistance(double px, double py, double x0, double y0, double x1, double y1, double radius)
{
    double cx = 0.5 * (x0 + x1), cy = 0.5 * (y0 + y1);
    double hx = 0.5 * (x1 - x0) - radius, hy = 0.5 * (y1 - y0) - radius;
    double qx = std::fabs(px - cx) - hx, qy = std::fabs(py - cy) - hy;
    double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

// Button frame of one style: a 60 x 60 rounded panel over the 3 x 3 cells at
// (left, 60). Its corners lie wholly inside the corner cells, so the edge and
// centre cells are uniform along the direction in which they are repeated.
static void DrawFrameStyle(int left, Colour fill, Colour border)
{
    for (int y = 0; y < 60; y++) {
        for (int x = 0; x < 60; x++) {
            double px = x + 0.5, py = y + 0.5;
            double d = RoundedBoxDistance(px, py, 2, 2, 58, 58, 8);
            double inside = std::max(0.0, std::min(1.0, 0.5 - d));
            double line = std::max(0.0, std::min(1.0, 1.25 - std::fabs(d + 3.0)));
            Blend(left + x, 60 + y, fill, inside);
            Blend(left + x, 60 + y, border, line);
        }
    }
}

// Whether (x, y) lies inside the polygon, by the even-odd rule.
static bool InsidePolygon(const double (*points)[2], int count, double x, double y)
{
    bool inside = false;
    for (int i = 0, j = count - 1; i < count; j = i++) {
        if ((points[i][1] > y) != (points[j][1] > y) &&
            x < (points[j][0] - points[i][0]) * (y - points[i][1]) / (points[j][1] - points[i][1]) + points[i][0])
            inside = !inside;
    }
    return inside;
}

// Mouse pointer in the 40 x 60 cell at (440, 60): an arrow whose tip is the
// hot spot at pixel (12, 10) of the cell.
static void DrawPointerImage()
{
    const double arrow[7][2] = {{12, 10}, {12, 40}, {19, 33}, {25, 46}, {30, 44}, {24, 31}, {34, 31}};
    const Colour fill = {250, 244, 226, 255}, edge = {20, 16, 12, 255};
    for (int y = 0; y < 60; y++) {
        for (int x = 0; x < 40; x++) {
            int inner = 0, outer = 0;
            for (int sy = 0; sy < 4; sy++) {
                for (int sx = 0; sx < 4; sx++) {
                    double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
                    inner += InsidePolygon(arrow, 7, px, py);
                    bool near = false;
                    for (int k = 0; k < 8 && !near; k++) {
                        double a = k * PI / 4;
                        near = InsidePolygon(arrow, 7, px + 1.5 * std::cos(a), py + 1.5 * std::sin(a));
                    }
                    outer += near || InsidePolygon(arrow, 7, px, py);
                }
            }
            Blend(440 + x, 60 + y, edge, outer / 16.0);
            Blend(440 + x, 60 + y, fill, inner / 16.0 * (inner == 16 ? 1.0 : 0.6));
        }
    }
    // The hot spot itself is always solid so that the tip never vanishes.
    Blend(440 + 12, 60 + 10, edge, 1.0);
}

// Menu bars (640 x 60, stretched across the screen): uniform along x, a dark
// translucent band with a bright rule on the edge facing the screen's middle.
static void DrawMenuBar(int top, bool ruleAtBottom)
{
    for (int y = 0; y < 60; y++) {
        int fromRule = ruleAtBottom ? 59 - y : y;
        double shade = 0.75 + 0.25 * fromRule / 59.0;
        Colour band = {28 * shade + 6, 26 * shade + 6, 34 * shade + 6, 200 + 30 * (fromRule / 59.0)};
        Colour c = band;
        if (fromRule == 2 || fromRule == 3) c = {214, 178, 96, 255};
        if (fromRule <= 1) c = {12, 10, 8, 235};
        for (int x = 0; x < 640; x++) Blend(x, top + y, c, 1.0);
    }
}

// ---- the whole atlas

std::vector<uint8_t> MakeDashboard()
{
    atlas.assign((size_t)ATLAS_W * ATLAS_H * 4, 0);
    DrawGlyphs();
    DrawFrameStyle(0, {22, 24, 30, 190}, {150, 140, 118, 255});
    DrawFrameStyle(60, {44, 38, 24, 215}, {244, 204, 96, 255});
    DrawPointerImage();
    DrawMenuBar(120, true);
    DrawMenuBar(180, false);
    return atlas;
}
