#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/camera.h"
#include "player/game_state.h"
#include "support/test_support.h"
#include "world/minimap.h"
#include "world/world_grid.h"

namespace {

void SetLayer3(int x, int z, int tile) { worldGrid[CellIndex(x, 3, z)].tileType = (uint8_t)tile; }

struct Rgb {
    int r, g, b;
};
const Rgb FLOOR_GREY = {110, 110, 110};
const Rgb WALL_GREY = {50, 50, 50};
const Rgb CORE_GREY = {20, 20, 20};
const Rgb OPEN_BLUE = {55, 55, 130};
const Rgb BLACK = {0, 0, 0};
const Rgb WHITE = {255, 255, 255};

void ExpectTexel(const std::vector<unsigned char>& picture, int x, int z, Rgb want)
{
    const unsigned char* t = &picture[z * 256 * 3 + x * 3];
    EXPECT_EQ(t[0], want.r) << "texel " << x << "," << z;
    EXPECT_EQ(t[1], want.g) << "texel " << x << "," << z;
    EXPECT_EQ(t[2], want.b) << "texel " << x << "," << z;
}

void ExpectPixel(int x, int y, Rgb want)
{
    unsigned char rgb[3];
    ReadPixel(x, y, rgb);
    EXPECT_EQ(rgb[0], want.r) << "pixel " << x << "," << y;
    EXPECT_EQ(rgb[1], want.g) << "pixel " << x << "," << y;
    EXPECT_EQ(rgb[2], want.b) << "pixel " << x << "," << y;
}

// Layer 3 in four quarters around cell (126, 126): ahead (x >= 126) floor on
// the z >= 126 side and wall on the other; behind, wall core and open space.
void FillQuarters()
{
    for (int x = 0; x < 250; x++)
        for (int z = 0; z < 250; z++) {
            int tile = x >= 126 ? (z >= 126 ? TILE_FLOOR : TILE_WALL) : (z >= 126 ? TILE_WALL_CORE : TILE_EMPTY);
            SetLayer3(x, z, tile);
        }
}

void DrawAt(float x, float z, float yaw)
{
    gameState.position = {x, 30.0f, z};
    gameState.yaw = yaw;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Begin2D();
    DrawMapOverlay();
    glFinish();
}

}  // namespace

TEST(Minimap, PictureShowsLayerThreeInTheColourTable)
{
    EXPECT_EQ(MapPictureSize(250), 256);
    EXPECT_EQ(MapPictureSize(256), 256);
    EXPECT_EQ(MapPictureSize(257), 512);

    // One cell of every code along row z = 7; the layers above and below hold
    // boundary tiles, which must not show through.
    for (int x = 0; x < 250; x++)
        for (int z = 0; z < 250; z++) {
            worldGrid[CellIndex(x, 2, z)].tileType = TILE_BOUNDARY;
            worldGrid[CellIndex(x, 4, z)].tileType = TILE_BOUNDARY;
        }
    for (int code = 0; code < TILE_TYPE_COUNT; code++)
        SetLayer3(100 + code, 7, code);
    SetLayer3(3, 200, TILE_WALL_CORE);
    SetLayer3(249, 249, TILE_FLOOR);
    SetLayer3(0, 0, TILE_WALL);

    std::vector<unsigned char> picture(256 * 256 * 3, 0xAB);
    FillMapPicture(picture.data(), 256, 256);

    for (int code = 0; code < TILE_TYPE_COUNT; code++) {
        Rgb want = OPEN_BLUE;
        if (code == 23 || code == 24 || code == 25 || code == 26 || code == 27 || code == 32 || code == 33 ||
            code == 34)
            want = FLOOR_GREY;
        else if (code == 8 || code == 9 || code == 39)
            want = WALL_GREY;
        else if (code == 7 || code == 10 || code == 11)
            want = CORE_GREY;
        else if (code == 1)
            want = BLACK;
        SCOPED_TRACE(testing::Message() << "code " << code);
        ExpectTexel(picture, 100 + code, 7, want);
    }
    // Rows run along z and columns along x.
    ExpectTexel(picture, 3, 200, CORE_GREY);
    ExpectTexel(picture, 200, 3, OPEN_BLUE);
    ExpectTexel(picture, 249, 249, FLOOR_GREY);
    ExpectTexel(picture, 0, 0, WALL_GREY);
    ExpectTexel(picture, 0, 1, OPEN_BLUE);
    // The margin beyond the 250 cells is black.
    for (int i = 0; i < 256; i++)
        for (int m = 250; m < 256; m++) {
            ExpectTexel(picture, m, i, BLACK);
            ExpectTexel(picture, i, m, BLACK);
        }
}

TEST(Minimap, TextureIsTheUnmipmappedPictureWithNearestClampedSampling)
{
    OpenTestDisplay(800, 600);
    for (int x = 0; x < 250; x++)
        for (int z = 0; z < 250; z++)
            SetLayer3(x, z, (x * 7 + z * 3) % TILE_TYPE_COUNT);
    std::vector<unsigned char> picture(256 * 256 * 3);
    FillMapPicture(picture.data(), 256, 256);

    BuildMapTexture();
    ASSERT_NE(mapTexture, 0u);
    EXPECT_EQ(mapScaleU, 0.9765625f);
    EXPECT_EQ(mapScaleV, 0.9765625f);

    glBindTexture(GL_TEXTURE_2D, mapTexture);
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 256);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &value);
    EXPECT_EQ(value, 256);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
    EXPECT_EQ(value, GL_RGB);
    value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 0) << "no mipmap levels";
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_CLAMP);

    std::vector<unsigned char> uploaded(256 * 256 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, uploaded.data());
    EXPECT_TRUE(uploaded == picture);
}

TEST(Minimap, WindowTurnsWithTheViewAroundAFixedMarker)
{
    OpenTestDisplay(800, 600);
    FillQuarters();
    BuildMapTexture();

    // Looking along +x: screen-up is +x and screen-right is +z. The window is
    // the square 10..259 x 340..589 with its centre at (135, 465).
    DrawAt(1250.0f, 1250.0f, 0.0f);
    ExpectPixel(195, 405, FLOOR_GREY);
    ExpectPixel(75, 405, WALL_GREY);
    ExpectPixel(195, 525, CORE_GREY);
    ExpectPixel(75, 525, OPEN_BLUE);
    // Corners of the window and the black screen just outside it.
    ExpectPixel(10, 340, WALL_GREY);
    ExpectPixel(259, 340, FLOOR_GREY);
    ExpectPixel(10, 589, OPEN_BLUE);
    ExpectPixel(259, 589, CORE_GREY);
    ExpectPixel(9, 340, BLACK);
    ExpectPixel(10, 339, BLACK);
    ExpectPixel(260, 589, BLACK);
    ExpectPixel(259, 590, BLACK);
    // The marker covers pixels 133..136 x 463..466.
    ExpectPixel(133, 463, WHITE);
    ExpectPixel(136, 466, WHITE);
    ExpectPixel(135, 465, WHITE);
    ExpectPixel(132, 465, OPEN_BLUE);
    ExpectPixel(137, 466, CORE_GREY);
    ExpectPixel(134, 467, OPEN_BLUE);
    // The centre samples texel (125.2, 125.5) at 3.5 pixels a texel, so the
    // line x = 126 runs 2.8 pixels above it and z = 126 1.75 pixels right of it.
    ExpectPixel(136, 462, OPEN_BLUE);
    ExpectPixel(137, 462, CORE_GREY);
    ExpectPixel(136, 461, WALL_GREY);
    ExpectPixel(137, 461, FLOOR_GREY);
    // From (1249.5, 1249) the centre samples (125.15, 125.4): the same four
    // pixels now sit within 1.5 world units of the texel lines on either side.
    DrawAt(1249.5f, 1249.0f, 0.0f);
    ExpectPixel(136, 462, OPEN_BLUE);
    ExpectPixel(137, 462, CORE_GREY);
    ExpectPixel(136, 461, WALL_GREY);
    ExpectPixel(137, 461, FLOOR_GREY);

    // Looking along +z: screen-up is +z and screen-right is -x. The marker
    // and the window frame stay where they were.
    DrawAt(1250.0f, 1250.0f, 1.5707964f);
    ExpectPixel(195, 405, CORE_GREY);
    ExpectPixel(75, 405, FLOOR_GREY);
    ExpectPixel(195, 525, OPEN_BLUE);
    ExpectPixel(75, 525, WALL_GREY);
    ExpectPixel(135, 465, WHITE);
    ExpectPixel(9, 465, BLACK);
    ExpectPixel(260, 465, BLACK);

    // Looking along -x: everything is upside down from yaw 0.
    DrawAt(1250.0f, 1250.0f, 3.1415927f);
    ExpectPixel(195, 405, OPEN_BLUE);
    ExpectPixel(75, 405, CORE_GREY);
    ExpectPixel(195, 525, WALL_GREY);
    ExpectPixel(75, 525, FLOOR_GREY);
}

TEST(Minimap, WindowPastTheEdgeShowsTheBlackMarginOrTheClampedEdge)
{
    OpenTestDisplay(800, 600);
    for (int x = 0; x < 250; x++)
        for (int z = 0; z < 250; z++)
            SetLayer3(x, z, x == 0 ? TILE_WALL : TILE_FLOOR);
    BuildMapTexture();

    // Near x = 249, ahead of the player lies the black margin (x 250..255) and
    // beyond the texture the clamped black edge column.
    DrawAt(2450.0f, 1250.0f, 0.0f);
    ExpectPixel(100, 480, FLOOR_GREY);
    ExpectPixel(135, 440, BLACK);
    ExpectPixel(135, 345, BLACK);

    // Near x = 0, behind the player the window repeats the edge column x = 0.
    DrawAt(50.0f, 1250.0f, 0.0f);
    ExpectPixel(135, 430, FLOOR_GREY);
    ExpectPixel(135, 520, WALL_GREY);
    ExpectPixel(135, 585, WALL_GREY);
}
