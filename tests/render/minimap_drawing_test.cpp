#include "app/camera.h"
#include "player/game_state.h"
#include "render/minimap_drawing.h"
#include "support/test_support.h"
#include "world/minimap.h"

using Rgb = std::vector<int>;
static const Rgb FLOOR_GREY = {110, 110, 110}, WALL_GREY = {50, 50, 50}, CORE_GREY = {20, 20, 20};
static const Rgb OPEN_BLUE = {55, 55, 130}, BLACK = {0, 0, 0}, WHITE = {255, 255, 255};

TEST(Minimap, TextureIsLayerThreeWithABlackMarginAndTheWindowTurnsWithTheViewAroundAFixedMarker)
{
    OpenTestDisplay(800, 600);
    EXPECT_EQ(MapPictureSize(257), 512);
    // Every code once along row z = 7 of layer 3, under and over boundary layers that must not show.
    for (int y : {2, 4}) Fill(0, 249, y, 0, 249, TILE_BOUNDARY);
    for (int code = 0; code < TILE_TYPE_COUNT; code++) Put(100 + code, 3, 7, code);
    Put(3, 3, 200, TILE_WALL_CORE);
    Put(249, 3, 249, TILE_FLOOR);
    BuildMapTexture();
    ASSERT_NE(mapTexture, 0u);
    EXPECT_EQ((Floats{mapScaleU, mapScaleV}), (Floats{0.9765625f, 0.9765625f}));
    EXPECT_EQ(TextureShape(0), (Ints{256, GL_RGB, GL_NEAREST, GL_NEAREST, GL_CLAMP, GL_CLAMP}));
    EXPECT_EQ(TextureShape(1)[0], 0);  // no mipmaps
    std::vector<uint8_t> picture = Texels(256 * 256, GL_RGB, 3);
    auto texel = [&](int x, int z) { return Rgb(&picture[(z * 256 + x) * 3], &picture[(z * 256 + x) * 3 + 3]); };
    for (int code = 0; code < TILE_TYPE_COUNT; code++) {
        Rgb want = (code >= 23 && code <= 27) || (code >= 32 && code <= 34) ? FLOOR_GREY
                   : code == 8 || code == 9 || code == 39                   ? WALL_GREY
                   : code == 7 || code == 10 || code == 11                  ? CORE_GREY
                   : code == 1                                              ? BLACK : OPEN_BLUE;
        EXPECT_EQ(texel(100 + code, 7), want) << "code " << code;
    }
    // Rows run along z and columns along x; beyond the 250 cells all is black.
    EXPECT_EQ(texel(3, 200), CORE_GREY);
    EXPECT_EQ(texel(200, 3), OPEN_BLUE);
    EXPECT_EQ(texel(249, 249), FLOOR_GREY);
    int lit = 0;
    for (int i = 0; i < 256; i++)
        for (int m = 250; m < 256; m++) lit += texel(m, i) != BLACK || texel(i, m) != BLACK;
    EXPECT_EQ(lit, 0);
    // Quarters around cell (126, 126): ahead (x >= 126) floor (z >= 126) and wall; behind, core and open.
    Fill(126, 249, 3, 126, 249, TILE_FLOOR);
    Fill(126, 249, 3, 0, 125, TILE_WALL);
    Fill(0, 125, 3, 126, 249, TILE_WALL_CORE);
    Fill(0, 125, 3, 0, 125, TILE_EMPTY);
    BuildMapTexture();
    gameState.position = {1250.0f, 30.0f, 1250.0f};
    auto pixelsAt = [](float yaw, std::vector<std::vector<int>> points) {
        gameState.yaw = yaw;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        Begin2D();
        DrawMapOverlay();
        std::vector<Rgb> colours;
        for (const auto& p : points) {
            unsigned char rgb[3];
            ReadPixel(p[0], p[1], rgb);
            colours.push_back({rgb[0], rgb[1], rgb[2]});
        }
        return colours;
    };
    // Yaw 0: screen-up +x, screen-right +z. The window is L..R x T..B (10..259 x 340..589), black outside; the
    // marker m0..m1 x n0..n1 (133..136 x 463..466). The centre samples texel (125.2, 125.5) at 3.5 pixels a texel.
    const int L = MAP_WINDOW_MARGIN, R = L + MAP_WINDOW_SIZE - 1, B = 600 - MAP_WINDOW_MARGIN - 1, T = B + 1 - MAP_WINDOW_SIZE;
    const int m0 = MAP_MARKER_LOW, m1 = m0 + MAP_MARKER_SIZE - 1, n1 = 600 - 1 - m0, n0 = n1 + 1 - MAP_MARKER_SIZE;
    const int c = L + MAP_WINDOW_SIZE / 2, d = 600 - c;  // the window's centre pixel
    EXPECT_EQ(pixelsAt(0.0f, {{L, T}, {R, T}, {L, B}, {R, B}, {L - 1, T}, {L, T - 1}, {R + 1, B}, {R, B + 1}, {m0, n0},
                              {m1, n1}, {m0 - 1, d}, {m1 + 1, n1}, {m0 + 1, n1 + 1}, {m1, n0 - 1}, {m1 + 1, n0 - 1},
                              {m1, n0 - 2}, {m1 + 1, n0 - 2}}),
              (std::vector<Rgb>{WALL_GREY, FLOOR_GREY, OPEN_BLUE, CORE_GREY, BLACK, BLACK, BLACK, BLACK, WHITE, WHITE,
                                OPEN_BLUE, CORE_GREY, OPEN_BLUE, OPEN_BLUE, CORE_GREY, WALL_GREY, FLOOR_GREY}));
    // Looking along +z: screen-up is +z and screen-right -x; marker and frame stay.
    EXPECT_EQ(pixelsAt(1.5707964f, {{c + 60, d - 60}, {c - 60, d - 60}, {c + 60, d + 60}, {c - 60, d + 60}, {c, d},
                                    {L - 1, d}, {R + 1, d}}),
              (std::vector<Rgb>{CORE_GREY, FLOOR_GREY, OPEN_BLUE, WALL_GREY, WHITE, BLACK, BLACK}));
}
