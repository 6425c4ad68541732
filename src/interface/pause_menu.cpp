#include "interface/pause_menu.h"

#include <cstdio>
#include <cstring>

#include "app/display.h"
#include "app/frame_clock.h"
#include "app/game_loop.h"
#include "interface/buttons.h"
#include "interface/menu_fade.h"
#include "interface/text.h"

QuadCoords topBarCoords;
QuadCoords bottomBarCoords;
char creditText[256];

void BuildMenuBarCoords()
{
    topBarCoords = AtlasQuadCoords(0, 120, 640, MENU_BAR_HEIGHT);
    bottomBarCoords = AtlasQuadCoords(0, 180, 640, MENU_BAR_HEIGHT);
    snprintf(creditText, sizeof creditText, "%s", "Cairnfold: explore the world, find the 1000 collectables");
}

void FormatVersionText(char* text, int size, float version)
{
    snprintf(text, (size_t)size, "%s%f", "v", (double)version);
    size_t n = strlen(text);
    while (n > 2 && text[n - 2] != '.' && text[n - 1] == '0')
        text[--n] = '\0';
}

int MenuBarSlide(float fade) { return (int)((1.0 - fade * MENU_FADE_FACTOR) * MENU_BAR_HEIGHT); }

int MenuItemsY(float fade, float height)
{
    double top = 0.5 * height - 125.0;
    int yStart = (int)(height + top);
    int yEnd = (int)top;
    return (int)(MENU_FADE_FACTOR * (fade * yEnd) + (1.0 - fade * MENU_FADE_FACTOR) * yStart);
}

// A bar stretched over the whole screen width, in its own drawing bracket.
static void DrawBar(float y, const QuadCoords& coords)
{
    BeginInterfaceDrawing();
    DrawQuad(0.0f, y, screenWidth, MENU_BAR_HEIGHT, coords);
    EndInterfaceDrawing();
}

// Text whose last glyph ends MENU_TEXT_MARGIN pixels from the right edge.
static void DrawRightAligned(int y, const char* text)
{
    int n = (int)strlen(text);
    DrawText((int)(screenWidth - MENU_TEXT_MARGIN) - n * PEN_ADVANCE, y, text);
}

void DrawMenuBars()
{
    int slide = MenuBarSlide(menuFade);
    DrawBar((float)-slide, topBarCoords);
    DrawText(MENU_TEXT_MARGIN, 18 - slide, gameTitle);
    char version[256];
    FormatVersionText(version, sizeof version, versionNumber);
    DrawText(MENU_TEXT_MARGIN, 38 - slide, version);
    DrawRightAligned(18 - slide, dateText);
    DrawRightAligned(38 - slide, timeText);
    DrawBar(screenHeight - MENU_BAR_HEIGHT + slide, bottomBarCoords);
    DrawText(MENU_TEXT_MARGIN, (int)(screenHeight - 61 + slide + 23), creditText);
}

void DrawMenuItems()
{
    int cx = (int)(screenWidth * 0.5);
    int y = MenuItemsY(menuFade, screenHeight);
    if (DrawButton("Resume game", cx, y))
        menuOpen = false;
    if (DrawButton("Exit", cx, y + 50))
        quitRequested = true;
}
