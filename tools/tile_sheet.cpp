// Draws the contact sheet of the project's models with the game's own renderer:
// every tile code at orientation 0, then the three entity kinds, each alone in
// an empty world, seen from above and in front, lit and fogged as in the game
// and labelled with its code. Writes a binary PPM (make tiles turns it into
// docs/tiles.png). Usage: tile_sheet OUT.ppm, run from the repository root
// under an X display.
#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/camera.h"
#include "app/display.h"
#include "interface/interface_media.h"
#include "interface/text.h"
#include "interface/textures.h"
#include "player/game_state.h"
#include "render/model_sets.h"
#include "render/world_renderer.h"
#include "world/world_grid.h"

static const int VIEW_W = 200, VIEW_H = 160;  // one model's picture
static const int COLUMNS = 7;
static const int ITEMS = TILE_TYPE_COUNT + ENTITY_KIND_COUNT;
static const int ROWS = (ITEMS + COLUMNS - 1) / COLUMNS;
// The model stands in the start cell; the eye looks at its middle from this offset in world units.
static const Vec3 EYE_OFFSET = {-14.0f, 14.0f, 20.0f};
static const float MODEL_MIDDLE = 3.0f;

// Empties the grid and the entity index, then puts item k alone in the start cell:
// tile code k, or entity kind k - TILE_TYPE_COUNT (the index owns and frees it).
static void StageItem(int k)
{
    const int cell = CellIndex(gameState.cell.x, gameState.cell.y, gameState.cell.z);
    ClearEntityIndex();
    worldGrid[cell] = WorldCell{0, 0};
    if (k < TILE_TYPE_COUNT) {
        worldGrid[cell].tileType = (uint8_t)k;
        return;
    }
    FileEntity(cell, new Entity{k - TILE_TYPE_COUNT, gameState.position.x, gameState.position.y,
                                gameState.position.z, 0, 0, 0, 0, 0});
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: tile_sheet OUT.ppm (from the repository root, under an X display)\n");
        return 2;
    }
    screenWidth = VIEW_W;
    screenHeight = VIEW_H;
    aspectRatio = screenWidth / screenHeight;
    OpenDisplay();
    LoadInterfaceMedia();
    worldTexture = LoadWorldTexture();
    LoadTileModels();
    LoadEntityModels();
    ResetGameState();
    // The middle of the start cell, seen from EYE_OFFSET.
    const Vec3 target = {gameState.position.x, gameState.position.y + MODEL_MIDDLE, gameState.position.z};
    gameState.eye = {target.x + EYE_OFFSET.x, target.y + EYE_OFFSET.y, target.z + EYE_OFFSET.z};
    gameState.yaw = atan2f(-EYE_OFFSET.z, -EYE_OFFSET.x);
    gameState.pitch = -atan2f(EYE_OFFSET.y, hypotf(EYE_OFFSET.x, EYE_OFFSET.z));

    std::vector<unsigned char> sheet((size_t)COLUMNS * VIEW_W * ROWS * VIEW_H * 3, 0), view(VIEW_W * VIEW_H * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    for (int k = 0; k < ITEMS; k++) {
        StageItem(k);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        RenderWorld();
        Begin2D();
        char label[32];
        if (k < TILE_TYPE_COUNT)
            snprintf(label, sizeof label, "tile %d", k);
        else
            snprintf(label, sizeof label, "entity %d", k - TILE_TYPE_COUNT);
        DrawText(6, 6, label);
        glReadPixels(0, 0, VIEW_W, VIEW_H, GL_RGB, GL_UNSIGNED_BYTE, view.data());
        // OpenGL's rows run bottom to top; the sheet's run top to bottom.
        const int left = (k % COLUMNS) * VIEW_W, top = (k / COLUMNS) * VIEW_H;
        for (int y = 0; y < VIEW_H; y++)
            std::copy_n(&view[(size_t)(VIEW_H - 1 - y) * VIEW_W * 3], VIEW_W * 3,
                        &sheet[((size_t)(top + y) * COLUMNS * VIEW_W + left) * 3]);
    }
    ClearEntityIndex();
    SDL_Quit();

    FILE* out = fopen(argv[1], "wb");
    if (!out) {
        perror(argv[1]);
        return 1;
    }
    fprintf(out, "P6\n%d %d\n255\n", COLUMNS * VIEW_W, ROWS * VIEW_H);
    bool written = fwrite(sheet.data(), 1, sheet.size(), out) == sheet.size();
    if (fclose(out) != 0 || !written) {
        perror(argv[1]);
        return 1;
    }
    return 0;
}
