// The shipped interface image Media/dashboard.png: its size and the atlas
// regions that text, buttons, the pointer and the menu bars cut from it.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

namespace {

struct Rgba {
    Uint8 r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

// The whole image decoded once per test, as RGBA rows top first.
struct Atlas {
    int w = 0, h = 0, bytesPerPixel = 0;
    Uint32 alphaMask = 0;
    std::vector<Rgba> pixels;
    Rgba At(int x, int y) const { return pixels[(size_t)y * w + x]; }
};

Atlas LoadAtlas()
{
    Atlas atlas;
    SDL_Surface* image = IMG_Load("Media/dashboard.png");
    if (!image) return atlas;
    atlas.w = image->w;
    atlas.h = image->h;
    atlas.bytesPerPixel = image->format->BytesPerPixel;
    atlas.alphaMask = image->format->Amask;
    SDL_LockSurface(image);
    for (int y = 0; y < image->h; y++) {
        for (int x = 0; x < image->w; x++) {
            const Uint8* p = (const Uint8*)image->pixels + y * image->pitch + x * image->format->BytesPerPixel;
            Uint32 value = 0;
            memcpy(&value, p, image->format->BytesPerPixel);
            Rgba c;
            SDL_GetRGBA(value, image->format, &c.r, &c.g, &c.b, &c.a);
            atlas.pixels.push_back(c);
        }
    }
    SDL_UnlockSurface(image);
    SDL_FreeSurface(image);
    return atlas;
}

// The 20 x 20 pixels of an atlas cell, for comparing cells.
std::vector<Uint32> Cell(const Atlas& atlas, int left, int top)
{
    std::vector<Uint32> cell;
    for (int y = 0; y < 20; y++)
        for (int x = 0; x < 20; x++) {
            Rgba c = atlas.At(left + x, top + y);
            cell.push_back((Uint32)c.r << 24 | c.g << 16 | c.b << 8 | c.a);
        }
    return cell;
}

}  // namespace

TEST(MediaDashboard, IsA1024By256ImageWithAnAlphaChannel)
{
    Atlas atlas = LoadAtlas();
    ASSERT_EQ(atlas.w, 1024);
    ASSERT_EQ(atlas.h, 256);
    EXPECT_EQ(atlas.bytesPerPixel, 4);
    EXPECT_NE(atlas.alphaMask, 0u);
    // Nothing is drawn outside the regions the interface cuts out: right of
    // the 640-pixel wide font and bars, below the bars, and between the
    // second button frame and the pointer.
    int stray = 0;
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 1024; x++) {
            bool unused = x >= 640 || y >= 240 || (y >= 60 && y < 120 && x >= 120 && (x < 440 || x >= 480));
            stray += unused && atlas.At(x, y).a != 0;
        }
    EXPECT_EQ(stray, 0);
}

TEST(MediaDashboard, EveryPrintableCharacterHasItsOwnGlyphWithinItsAdvance)
{
    Atlas atlas = LoadAtlas();
    ASSERT_EQ(atlas.w, 1024);
    std::set<std::vector<Uint32>> shapes;
    for (int g = 0; g < 95; g++) {
        int left = 20 * (g % 32), top = 20 * (g / 32);
        int opaque = 0, ink = 0, outside = 0;
        for (int y = 0; y < 20; y++) {
            for (int x = 0; x < 20; x++) {
                Rgba c = atlas.At(left + x, top + y);
                opaque += c.a != 0;
                ink += c.a == 255 && c.r > 200 && c.g > 200;
                // The pen advances 10 pixels and each cell is drawn from 5
                // pixels left of the pen: only the middle 10 columns may show.
                outside += (x < 5 || x >= 15) && c.a != 0;
            }
        }
        char character = (char)(g + 32);
        EXPECT_EQ(outside, 0) << "'" << character << "' spills into its neighbours";
        if (g == 0) {
            EXPECT_EQ(opaque, 0) << "the space is blank";
        } else {
            EXPECT_GT(ink, 0) << "'" << character << "' has no light ink";
            EXPECT_TRUE(shapes.insert(Cell(atlas, left, top)).second) << "'" << character << "' repeats a glyph";
        }
    }
    EXPECT_EQ(shapes.size(), 94u);
    // Row 2 holds only 31 glyphs: its last cell (the 96th) is empty.
    EXPECT_EQ(Cell(atlas, 620, 40), std::vector<Uint32>(400, 0));
}

TEST(MediaDashboard, ButtonFramePiecesJoinAndRepeatWithoutSeams)
{
    Atlas atlas = LoadAtlas();
    ASSERT_EQ(atlas.w, 1024);
    for (int style = 0; style < 2; style++) {
        SCOPED_TRACE(style);
        auto piece = [&](int i, int j, int x, int y) { return atlas.At(20 * (3 * style + i) + x, 60 + 20 * j + y); };
        for (int k = 0; k < 20; k++) {
            for (int m = 0; m < 20; m++) {
                // Top and bottom edges repeat along x: every row is uniform.
                EXPECT_EQ(piece(1, 0, m, k), piece(1, 0, 0, k));
                EXPECT_EQ(piece(1, 2, m, k), piece(1, 2, 0, k));
                // Left and right edges are stretched along y: every column is uniform.
                EXPECT_EQ(piece(0, 1, k, m), piece(0, 1, k, 0));
                EXPECT_EQ(piece(2, 1, k, m), piece(2, 1, k, 0));
                // The centre repeats both ways.
                EXPECT_EQ(piece(1, 1, m, k), piece(1, 1, 0, 0));
            }
            // Corners continue the edges they meet.
            EXPECT_EQ(piece(0, 0, 19, k), piece(1, 0, 0, k));
            EXPECT_EQ(piece(2, 2, 0, k), piece(1, 2, 19, k));
            EXPECT_EQ(piece(0, 0, k, 19), piece(0, 1, k, 0));
            EXPECT_EQ(piece(2, 2, k, 0), piece(2, 1, k, 19));
        }
        EXPECT_EQ(piece(0, 0, 0, 0).a, 0) << "rounded outer corner";
        EXPECT_GT(piece(1, 1, 0, 0).a, 100) << "the panel is filled";
        EXPECT_LT(piece(1, 1, 0, 0).a, 255) << "the panel lets the scene show through";
    }
    // The style under the mouse looks different from the normal one.
    EXPECT_NE(Cell(atlas, 20, 60), Cell(atlas, 80, 60));
}

TEST(MediaDashboard, PointerTipIsItsHotSpot)
{
    Atlas atlas = LoadAtlas();
    ASSERT_EQ(atlas.w, 1024);
    // The pointer is drawn 12 pixels left of and 10 above the mouse position.
    EXPECT_EQ(atlas.At(440 + 12, 60 + 10).a, 255);
    int aboveOrLeft = 0, body = 0;
    for (int y = 0; y < 60; y++)
        for (int x = 0; x < 40; x++) {
            Rgba c = atlas.At(440 + x, 60 + y);
            aboveOrLeft += (x < 10 || y < 8) && c.a != 0;
            body += c.a == 255 && c.r > 200;
        }
    EXPECT_EQ(aboveOrLeft, 0);
    EXPECT_GT(body, 100);
}

TEST(MediaDashboard, MenuBarsAreUnbrokenBandsUniformAlongTheirLength)
{
    Atlas atlas = LoadAtlas();
    ASSERT_EQ(atlas.w, 1024);
    for (int top : {120, 180}) {
        int brightRow = -1;
        for (int y = top; y < top + 60; y++) {
            for (int x = 0; x < 640; x++) {
                EXPECT_GT(atlas.At(x, y).a, 150) << x << ", " << y;
                EXPECT_EQ(atlas.At(x, y), atlas.At(0, y)) << x << ", " << y;
            }
            if (atlas.At(0, y).r > 150 && brightRow < 0) brightRow = y - top;
        }
        // The bright rule lies on the edge that faces the middle of the screen.
        if (top == 120) {
            EXPECT_EQ(brightRow, 56);
        } else {
            EXPECT_EQ(brightRow, 2);
        }
    }
}
