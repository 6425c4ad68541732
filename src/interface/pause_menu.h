// Pause menu: the sliding top and bottom bars with their texts, and the "Resume game" and "Exit" buttons.
#pragma once

#include "interface/quads.h"

constexpr int MENU_BAR_HEIGHT = 60;           // both bars, and how far they slide
constexpr int MENU_TEXT_MARGIN = 20;          // from the left and right screen edges
constexpr double MENU_FADE_FACTOR = 0.01f;    // menuFade to 0..1: the 32-bit 0.01, used widened

extern QuadCoords topBarCoords;     // the top bar's atlas strip (0, 120, 640, 60)
extern QuadCoords bottomBarCoords;  // the bottom bar's atlas strip (0, 180, 640, 60)
extern char creditText[256];        // the line on the bottom bar

void BuildMenuBarCoords();

// "v" and the version number with the trailing zeros of its six decimals
// removed, keeping one digit after the point: 0.3 gives "v0.3".
void FormatVersionText(char* text, int size, float version);

// How far the bars are pushed off screen (60 at fade 0, 0 at 100), and the
// centre y of the "Resume game" button, which slides up from below the screen.
int MenuBarSlide(float fade);
int MenuItemsY(float fade, float height);

// The bars with the title, version, date, time and credit line.
void DrawMenuBars();

// The two buttons: "Resume game" closes the menu, "Exit" ends the game after this frame.
void DrawMenuItems();
