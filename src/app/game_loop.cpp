#include "app/game_loop.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cstdio>

#include "app/camera.h"
#include "app/frame_clock.h"
#include "app/input.h"
#include "interface/menu_fade.h"
#include "interface/pause_menu.h"
#include "interface/quads.h"
#include "interface/text.h"
#include "interface/textures.h"
#include "player/game_state.h"
#include "player/player_update.h"
#include "render/minimap_drawing.h"
#include "render/model_sets.h"
#include "render/world_renderer.h"
#include "world/saves.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"

bool quitRequested;
bool appHasMouseFocus;
bool pastFirstFrame;
char gameTitle[256];
float versionNumber;

float FrameTimeStep(float fps)
{
    // 60 / 0 on the first frame is +infinity, which clamps to the largest step.
    float dt = (float)(60.0 / (double)fps);
    if (dt < MIN_TIME_STEP)
        dt = MIN_TIME_STEP;
    else if (dt > MAX_TIME_STEP)
        dt = MAX_TIME_STEP;
    return dt;
}

void StartWorld()
{
    snprintf(gameTitle, sizeof gameTitle, "%s", "Cairnfold");
    versionNumber = SAVE_VERSION;
    worldTexture = LoadWorldTexture();
    LoadTileModels();
    LoadEntityModels();
    // Both files are always read, the core file first.
    bool progressLoaded = LoadCoreState();
    bool worldLoaded = LoadWorldGrid();
    if (!worldLoaded) {
        GenerateWorld();
        SaveWorldGrid();
    }
    // With both files read the saved game goes on as stored; otherwise (a new
    // world, or no usable progress in this one) a new game begins.
    if (!progressLoaded || !worldLoaded) {
        // Progress read from a core file whose world is gone is still the
        // player's: it is kept aside rather than overwritten.
        coreFileReplaced = progressLoaded;
        ResetGameState();
        PlaceEntities();
        SaveCoreState();
    }
    // Last, so the map shows the world as it was loaded or generated.
    BuildMapTexture();
}

void RunFrame()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_PumpEvents();
    PollInput();
    if (menuFade == 0.0f) {
        // The last measured frame rate sets how far the world advances.
        UpdateGame(FrameTimeStep(framesPerSecond));
        RenderWorld();
        Begin2D();
        DrawMapOverlay();
        char headsUp[HEADS_UP_TEXT_SIZE];
        FormatHeadsUpText(headsUp, sizeof headsUp, gameState.collectablesFound);
        DrawText(HEADS_UP_X, HEADS_UP_Y, headsUp);
    }
    TickFrameClock();
    UpdateMenuFade(1.0f);
    if (menuFade != 0.0f) {
        DrawMenuBars();
        DrawMenuItems();
    }
    appHasMouseFocus = (SDL_GetAppState() & SDL_APPMOUSEFOCUS) != 0;
    // The pointer goes over everything else, and not before the first frame.
    if (pastFirstFrame && appHasMouseFocus)
        DrawPointer(mouseX, mouseY);
    pastFirstFrame = true;
    SDL_GL_SwapBuffers();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_ALLEVENTS) > 0)
        if (event.type == SDL_QUIT)
            quitRequested = true;
}
