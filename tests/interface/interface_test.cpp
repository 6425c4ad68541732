// The 2D interface: atlas, text, fade and menu layout, drawing read back and the menu in play.
#include <SDL.h>
#include "app/display.h"
#include "app/frame_clock.h"
#include "app/game_loop.h"
#include "app/input.h"
#include "interface/buttons.h"
#include "interface/images.h"
#include "interface/interface_media.h"
#include "interface/menu_fade.h"
#include "interface/pause_menu.h"
#include "interface/text.h"
#include "support/test_support.h"

static void ExpectCoords(const QuadCoords& q, float left, float top, float right, float bottom)
{
    const float want[8] = {left, bottom, right, bottom, right, top, left, top};
    for (int i = 0; i < 8; i++) EXPECT_FLOAT_EQ(q.st[i], want[i]) << i;
}

TEST(Interface, AtlasCoordinatesTextsAndMenuLayout)
{
    ExpectCoords(AtlasQuadCoords(440, 60, 40, 60), 0.4296875f, 0.234375f, 0.46875f, 0.46875f);
    BuildFontCoords();
    const struct { char c; float x, y; } glyphs[] = {{'A', 20, 20}, {'~', 600, 40}, {' ', 0, 0}};
    for (const auto& g : glyphs)
        ExpectCoords(glyphCoords[g.c - 32], g.x / 1024, g.y / 256, (g.x + 20) / 1024, (g.y + 20) / 256);
    char text[HEADS_UP_TEXT_SIZE];
    FormatHeadsUpText(text, sizeof text, 17);
    EXPECT_STREQ(text, "collectables found: 17/1000");
    FormatHeadsUpText(text, sizeof text, -2147483647 - 1);
    EXPECT_STREQ(text, "collectables found: -2147483648/1000");
    const struct { float version; const char* text; } versions[] = {{0.3f, "v0.3"}, {1.0f, "v1.0"}, {2.5f, "v2.5"}};
    for (const auto& v : versions) EXPECT_STREQ((FormatVersionText(text, sizeof text, v.version), text), v.text);
    // Slide and the "Resume game" centre on 800 x 600 over the fade.
    const struct { float fade; int slide, y; } layout[] = {{100, 0, 175}, {50, 30, 475}, {35, 39, 565}, {55, 27, 445}, {0, 60, 775}};
    for (const auto& l : layout) {
        EXPECT_EQ(MenuBarSlide(l.fade), l.slide) << l.fade;
        EXPECT_EQ(MenuItemsY(l.fade, 600.0f), l.y) << l.fade;
    }
}

TEST(Interface, FadeStepsTurnsAroundAndReturnsToExactlyZero)
{
    ResetMenuFade();
    keyState[SDLK_ESCAPE] = BUTTON_PRESSED;
    for (int frame = 1; frame <= 25; frame++) {
        UpdateMenuFade(1.0f);
        keyState[SDLK_ESCAPE] = BUTTON_HELD;  // held: toggles once only
        EXPECT_EQ(menuFade, frame < 20 ? 5.0f * frame : 100.0f);
    }
    menuFade = 50.0f;
    keyState[SDLK_ESCAPE] = BUTTON_PRESSED;
    UpdateMenuFade(1.0f);
    EXPECT_FALSE(menuOpen);
    EXPECT_EQ(menuFade, 45.0f);
    keyState[SDLK_ESCAPE] = BUTTON_UP;
    for (int i = 0; i < 12; i++) UpdateMenuFade(1.0f);
    EXPECT_EQ(menuFade, 0.0f);
    menuFade = NAN;
    UpdateMenuFade(1.0f);
    EXPECT_EQ(menuFade, 0.0f);
}

// The 800 x 600 window's pixels, bottom row first.
static std::vector<unsigned char> ReadWindow()
{
    std::vector<unsigned char> rgb(800 * 600 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

// The smallest rectangle {x0, y0, x1, y1} (ends excluded, y downward) holding every pixel in which the
// window differs from `before` (a black window when not given); all 0 when none differs.
static Ints ChangedBox(std::vector<unsigned char> before = std::vector<unsigned char>(800 * 600 * 3))
{
    const std::vector<unsigned char> now = ReadWindow();
    Ints box = {800, 600, 0, 0};
    for (int i = 0; i < 800 * 600 * 3; i++)
        if (now[i] != before[i]) {
            int x = i / 3 % 800, y = 599 - i / 3 / 800;
            box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1), std::max(box[3], y + 1)};
        }
    return box[2] == 0 ? Ints{0, 0, 0, 0} : box;
}

static void ExpectInterfaceStateOff()
{
    const GLenum caps[] = {GL_TEXTURE_2D, GL_BLEND, GL_ALPHA_TEST, GL_VERTEX_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_DEPTH_TEST};
    for (GLenum cap : caps) EXPECT_FALSE(glIsEnabled(cap)) << cap;
}

TEST(Interface, AtlasTextButtonsAndPointerDrawnInARealContext)
{
    OpenTestDisplay(800, 600);
    // The atlas keeps alpha exactly and is transparent black beyond the image.
    SDL_Surface* image = SDL_CreateRGBSurface(0, 640, 240, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000);
    ((Uint32*)image->pixels)[0] = 0x80102030;
    SDL_Surface* atlas = BuildAtlasSurface(image);
    ASSERT_NE(atlas, nullptr);
    ASSERT_EQ((Ints{atlas->w, atlas->h}), (Ints{ATLAS_WIDTH, ATLAS_HEIGHT}));
    EXPECT_EQ(((Uint32*)atlas->pixels)[0], 0x80102030u);
    EXPECT_EQ(((Uint32*)atlas->pixels)[640 + 240 * 1024 - 1], 0u);
    EXPECT_EQ(((Uint32*)atlas->pixels)[100 * 1024 + 700], 0u);
    SDL_FreeSurface(atlas);
    SDL_FreeSurface(image);
    LoadInterfaceMedia();
    EXPECT_EQ(interfaceSurface->w, 1024);
    EXPECT_FALSE(menuOpen);
    EXPECT_EQ(menuFade, 0.0f);
    // "A" at (10, 10): its cell is (5, 10) to (25, 30); a tab is skipped.
    glClear(GL_COLOR_BUFFER_BIT);
    DrawText(10, 10, "\tA");
    ExpectInterfaceStateOff();
    EXPECT_EQ(ChangedBox(), (Ints{10, 15, 20, 26}));  // the glyph's shape: its cell's x 5..14, y 5..15
    // The pointer at (100, 50) covers x 88..128, y 40..100; its shape x 10..35, y 8..47 of that.
    glClear(GL_COLOR_BUFFER_BIT);
    DrawPointer(100, 50);
    ExpectInterfaceStateOff();
    EXPECT_EQ(ChangedBox(), (Ints{98, 48, 124, 88}));
    // The hit box of a button at (400, 300), strict on every side.
    const struct { int x, y; bool over; } points[] = {{237, 280, true}, {562, 320, true}, {236, 280, false},
        {563, 280, false}, {400, 279, false}, {400, 321, false}, {400, 300, true}, {238, 321, false}};
    unsigned char normal[3], highlighted[3];
    for (const auto& p : points) {
        mouseX = p.x;
        mouseY = p.y;
        mouseButtonState[SDL_BUTTON_LEFT] = BUTTON_PRESSED;
        glClear(GL_COLOR_BUFFER_BIT);
        EXPECT_EQ(DrawButton("Exit", 400, 300), p.over) << p.x << "," << p.y;
        ReadPixel(240, 290, p.over ? highlighted : normal);
    }
    ExpectInterfaceStateOff();
    EXPECT_NE(memcmp(normal, highlighted, 3), 0);
    mouseButtonState[SDL_BUTTON_LEFT] = BUTTON_HELD;  // held from an earlier frame: no click
    EXPECT_FALSE(DrawButton("Exit", 400, 300));
    // A date of 30 characters is right-aligned to x = 780 - 300 = 480: its glyph cells span 475..785, the
    // shapes of its W (x 5..14, y 5..15 of a cell, the date's line at y 18) x 480..779, y 23..33.
    menuFade = 100.0f;
    std::vector<unsigned char> withoutDate;
    for (const char* date : {"", "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"}) {
        snprintf(dateText, sizeof dateText, "%s", date);
        glClear(GL_COLOR_BUFFER_BIT);
        DrawMenuBars();
        if (date[0] == 0) withoutDate = ReadWindow();
    }
    EXPECT_EQ(ChangedBox(withoutDate), (Ints{480, 23, 780, 34}));
    // Halfway through the slide "Exit" is centred on (400, 525) and works.
    menuOpen = true;
    menuFade = 50.0f;
    mouseX = 400;
    mouseY = 525;
    mouseButtonState[SDL_BUTTON_LEFT] = BUTTON_PRESSED;
    quitRequested = false;
    DrawMenuBars();
    DrawMenuItems();
    ExpectInterfaceStateOff();
    EXPECT_TRUE(quitRequested);
    EXPECT_TRUE(menuOpen);
}
