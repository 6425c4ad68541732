// Speed of the model sets, the world renderer and the whole frame: loading all 49 models, drawing
// the cube around the player on a generated world under Mesa, both as the game's renderer does
// (what cannot show left out) and as the whole cube submitted, and the frame of world, minimap,
// heads-up line and pointer at two window sizes.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/camera.h"
#include "app/display.h"
#include "app/game_loop.h"
#include "app/input.h"
#include "app/platform.h"
#include "bench_folder.h"
#include "interface/interface_media.h"
#include "interface/quads.h"
#include "interface/text.h"
#include "interface/textures.h"
#include "player/game_state.h"
#include "render/minimap_drawing.h"
#include "render/model_sets.h"
#include "render/world_renderer.h"
#include "support/reference_renderer.h"
#include "world/world_grid.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"
#include "worldgen/world_random.h"

// Writes a box of 6 faces, each split into n x n squares of two triangles,
// 10 units wide around the origin: 12 n^2 triangles.
static void WriteBoxModel(const std::string& path, int n)
{
    FILE* file = fopen(path.c_str(), "w");
    if (!file)
        return;
    fprintf(file, "# stand-in model, %d triangles\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n", 12 * n * n);
    int vertices = 0;
    for (int axis = 0; axis < 3; axis++) {
        for (int side = -1; side <= 1; side += 2) {
            fprintf(file, "vn %d %d %d\n", axis == 0 ? side : 0, axis == 1 ? side : 0, axis == 2 ? side : 0);
            int normal = 2 * axis + (side + 1) / 2 + 1;
            int first = vertices + 1;
            for (int i = 0; i <= n; i++) {
                for (int j = 0; j <= n; j++) {
                    float a = -5.0f + 10.0f * i / n, b = -5.0f + 10.0f * j / n, c = 5.0f * side;
                    float p[3];
                    p[axis] = c;
                    p[(axis + 1) % 3] = a;
                    p[(axis + 2) % 3] = b;
                    fprintf(file, "v %g %g %g\n", p[0], p[1], p[2]);
                    vertices++;
                }
            }
            for (int i = 0; i < n; i++) {
                for (int j = 0; j < n; j++) {
                    int v00 = first + i * (n + 1) + j, v10 = v00 + n + 1;
                    fprintf(file, "f %d/1/%d %d/2/%d %d/3/%d\n", v00, normal, v10, normal, v10 + 1, normal);
                    fprintf(file, "f %d/1/%d %d/3/%d %d/4/%d\n", v00, normal, v10 + 1, normal, v00 + 1, normal);
                }
            }
        }
    }
    fclose(file);
}

// The folder whose Media the models are read from: the working directory
// when it holds the game's models, else a temporary folder of stand-ins of
// 48 to 192 triangles a tile (faces cut into patches of at most 5 units,
// as the game's models are) and 192 an entity.
static std::string ModelFolder()
{
    static std::string folder;
    if (!folder.empty())
        return folder;
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) && access("Media/worldtiles/worldtile1.obj", R_OK) == 0) {
        folder = cwd;
        return folder;
    }
    folder = MakeBenchFolder("bench");
    mkdir((folder + "/Media").c_str(), 0755);
    mkdir((folder + "/Media/worldtiles").c_str(), 0755);
    mkdir((folder + "/Media/entities").c_str(), 0755);
    for (int m = 0; m < TILE_TYPE_COUNT; m++)
        WriteBoxModel(folder + "/Media/worldtiles/worldtile" + std::to_string(m) + ".obj", 2 + m % 3);
    for (int k = 0; k < ENTITY_KIND_COUNT; k++)
        WriteBoxModel(folder + "/Media/entities/entity" + std::to_string(k) + ".obj", 4);
    return folder;
}

static void LoadModelSets()
{
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd) || chdir(ModelFolder().c_str()) != 0)
        return;
    LoadTileModels();
    LoadEntityModels();
    if (chdir(cwd) != 0)
        return;
}

static void FreeCollision(CollisionMesh* mesh)
{
    delete[] mesh->cornerA;
    delete[] mesh->cornerB;
    delete[] mesh->cornerC;
    delete[] mesh->faceNormal;
    delete mesh;
}

// The game never frees its models; the benchmark loads them many times.
static void FreeModelSets()
{
    for (TileModel& model : tileModels) {
        delete[] model.texCoords;
        for (int r = 0; r < ORIENTATION_COUNT; r++) {
            delete[] model.positions[r];
            delete[] model.normals[r];
            FreeCollision(model.collision[r]);
        }
    }
    for (EntityModel& model : entityModels) {
        delete[] model.positions;
        delete[] model.texCoords;
        delete[] model.normals;
        FreeCollision(model.collision);
    }
}

static int ModelTriangles()
{
    int triangles = 0;
    for (const TileModel& model : tileModels)
        triangles += model.vertexCount / 3;
    for (const EntityModel& model : entityModels)
        triangles += model.vertexCount / 3;
    return triangles;
}

// All 46 tile and 3 entity models: reading, the turned copies, normals and collision meshes.
static void BM_LoadAllModels(benchmark::State& state)
{
    ModelFolder();
    for (auto _ : state) {
        LoadModelSets();
        benchmark::DoNotOptimize(tileModels);
        state.PauseTiming();
        FreeModelSets();
        state.ResumeTiming();
    }
    LoadModelSets();
    state.counters["triangles"] = ModelTriangles();
    FreeModelSets();
}
BENCHMARK(BM_LoadAllModels)->Unit(benchmark::kMillisecond);

// Each frame is drawn into a window of its own size, as the game's is: a frame drawn into the
// corner of a larger window needs a scissor box, and Mesa clears a scissored part of a window
// by drawing a quad over it, which costs about 1 ms at 1024 x 768 that the game never pays.
// The window is opened again when the size changes, and the textures made again with it.
static int windowWidth, windowHeight;

static void UseWindow(int width, int height)
{
    if (width == windowWidth && height == windowHeight)
        return;
    screenWidth = (float)width;
    screenHeight = (float)height;
    screenBpp = 0;
    fullscreen = false;
    antialiasing = false;
    OpenDisplay();
    LoadInterfaceMedia();
    // A small opaque texture standing in for the world texture.
    unsigned char texels[64 * 64 * 3];
    for (int i = 0; i < 64 * 64 * 3; i++)
        texels[i] = (unsigned char)(96 + (i * 7) % 128);
    glGenTextures(1, &worldTexture);
    glBindTexture(GL_TEXTURE_2D, worldTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 64, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    BuildMapTexture();
    windowWidth = width;
    windowHeight = height;
}

// Makes a generated world with its entities and the models, once, and the window of the given
// size with the world texture, the interface media and the minimap; false without an X display.
static bool PrepareWorld(benchmark::State& state, int width, int height)
{
    static bool ready = false;
    if (!getenv("DISPLAY")) {
        state.SkipWithError("needs an X display: run under xvfb-run");
        return false;
    }
    if (!ready) {
        KeepFreedMemory();  // as the game does first
        LoadModelSets();
        SeedWorldRandom(1);
        GenerateWorld();
        PlaceEntities();
        ResetGameState();
        gameState.eye = Vec3{gameState.position.x, gameState.position.y + EYE_HEIGHT, gameState.position.z};
        ready = true;
    }
    UseWindow(width, height);
    screenWidth = (float)width;
    screenHeight = (float)height;
    aspectRatio = screenWidth / screenHeight;
    glViewport(0, 0, width, height);
    glDisable(GL_SCISSOR_TEST);
    return true;
}

// Tiles and entities in the cube around the player, and those the last frame drew.
static void CountDrawn(benchmark::State& state, bool culled)
{
    int d = gameState.viewDistance, tiles = 0, entities = 0;
    for (int x = gameState.cell.x - d; x <= gameState.cell.x + d; x++)
        for (int y = gameState.cell.y - d; y <= gameState.cell.y + d; y++)
            for (int z = gameState.cell.z - d; z <= gameState.cell.z + d; z++) {
                if (x < 0 || x >= GRID_SIZE_X || y < 0 || y >= GRID_LAYERS || z < 0 || z >= GRID_SIZE_Z)
                    continue;
                int i = CellIndex(x, y, z);
                tiles += worldGrid[i].tileType != 0;
                entities += entityCount[i];
            }
    state.counters["cube"] = tiles + entities;
    state.counters["drawn"] = culled ? modelsDrawn : tiles + entities;
}

// The world pass: the game's renderer (range 1 = 1) or the whole cube (0).
static void DrawWorld(benchmark::State& state)
{
    if (state.range(1))
        RenderWorld();
    else
        RenderWholeCube();
}

// One world frame, as RenderFrames times it.
static void DrawWorldFrame(benchmark::State& state)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawWorld(state);
    glFinish();
}

// One frame of the world: clear, the world pass, and glFinish so that the real time includes
// Mesa's rasterisation. CPU time is the calling thread's: submission and Mesa's vertex stage,
// which run on it. Arguments: view distance, game's renderer (1) or whole cube (0).
static void RenderFrames(benchmark::State& state, int viewportSize)
{
    if (!PrepareWorld(state, 800, 600))
        return;
    gameState.viewDistance = (int)state.range(0);
    if (viewportSize) {
        // The tiny frame's clear is kept to its pixels.
        screenWidth = screenHeight = (float)viewportSize;
        aspectRatio = 1.0f;
        glViewport(0, 0, viewportSize, viewportSize);
        glScissor(0, 0, viewportSize, viewportSize);
        glEnable(GL_SCISSOR_TEST);
    }
    // A window opened anew compiles Mesa's shaders on its first draws: one frame goes untimed.
    DrawWorldFrame(state);
    for (auto _ : state)
        DrawWorldFrame(state);
    CountDrawn(state, state.range(1));
}

static void BM_RenderWorld(benchmark::State& state)
{
    RenderFrames(state, 0);
}
BENCHMARK(BM_RenderWorld)->ArgsProduct({{10, 20}, {0, 1}})->Unit(benchmark::kMillisecond);

// The same frame into a 1 x 1 viewport: almost nothing left to rasterise,
// so this is the cost of submitting the draws and transforming the vertices.
static void BM_RenderWorldTinyViewport(benchmark::State& state)
{
    RenderFrames(state, 1);
}
BENCHMARK(BM_RenderWorldTinyViewport)->ArgsProduct({{10, 20}, {0, 1}})->Unit(benchmark::kMillisecond);

// One whole frame, as BM_WholeFrame times it.
static void DrawWholeFrame(benchmark::State& state)
{
    char headsUp[HEADS_UP_TEXT_SIZE];
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawWorld(state);
    Begin2D();
    DrawMapOverlay();
    FormatHeadsUpText(headsUp, sizeof headsUp, gameState.collectablesFound);
    DrawText(HEADS_UP_X, HEADS_UP_Y, headsUp);
    DrawPointer(mouseX, mouseY);
    glFinish();
}

// The frame the game draws while playing, the frame hold and the buffer swap left out: clear,
// the world, the minimap, the heads-up line and the pointer, then glFinish. Arguments: view
// distance, game's renderer (1) or whole cube (0), window width (1024 x 768 or 1920 x 1080).
static void BM_WholeFrame(benchmark::State& state)
{
    int width = (int)state.range(2), height = width == 1024 ? 768 : 1080;
    if (!PrepareWorld(state, width, height))
        return;
    gameState.viewDistance = (int)state.range(0);
    mouseX = width / 2;
    mouseY = height / 2;
    DrawWholeFrame(state);  // untimed, as in RenderFrames
    for (auto _ : state)
        DrawWholeFrame(state);
    CountDrawn(state, state.range(1));
}
BENCHMARK(BM_WholeFrame)->ArgsProduct({{10, 20}, {0, 1}, {1024, 1920}})->Unit(benchmark::kMillisecond);
