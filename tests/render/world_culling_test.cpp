#include "support/test_support.h"
#include "support/reference_renderer.h"
#include "app/display.h"
#include "interface/textures.h"
#include "player/game_state.h"
#include "player/nearby_entities.h"
#include "player/player_update.h"
#include "render/model_sets.h"
#include "render/world_renderer.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"
#include "worldgen/world_random.h"

// A view: the eye, where it looks, the view distance and textures on or off.
struct View {
    const char* name;
    float x, y, z, pitch, yaw;
    int distance;
    bool textures = true;
    bool seen = true;  // something lit on the screen
};

// The centre of the cell holding `tile` nearest the grid's middle along x.
static Vec3 CellOf(int tile)
{
    for (int ring = 0; ring < GRID_SIZE_X / 2; ring++)
        for (int x : {125 - ring, 125 + ring})
            for (int y = 0; y < GRID_LAYERS; y++)
                for (int z = 0; z < GRID_SIZE_Z; z++)
                    if (T(x, y, z) == tile) return Vec3{10.0f * x, 10.0f * y, 10.0f * z};
    ADD_FAILURE() << "no tile " << tile;
    return Vec3{0, 0, 0};
}

// Raises the lift of the shaft whose head is `top` to the head's centre height, where it turns
// back down, and files it there as the game does; gives the feet of a player standing on it.
static Vec3 RaiseLiftTo(const Vec3& top)
{
    int x = PlayerCell(top.x), y = PlayerCell(top.y), z = PlayerCell(top.z), bottom = y;
    while (bottom > 0 && T(x, bottom, z) != TILE_LIFT_BOTTOM) bottom--;
    int i = CellIndex(x, bottom, z);
    Entity* lift = entityCount[i] > 0 ? EntitySlot(i, 0) : nullptr;
    if (lift == nullptr || lift->kind != ENTITY_LIFT) {
        ADD_FAILURE() << "no lift under " << x << ", " << y << ", " << z;
        return top;
    }
    lift->y = top.y;
    lift->velocityY = -LIFT_SPEED;
    gameState.cell = CellCoord{x, y, z};
    RefileNearbyEntities();
    EXPECT_EQ(EntitySlot(CellIndex(x, y, z), entityCount[CellIndex(x, y, z)] - 1), lift);
    return Vec3{lift->x, lift->y + entityModels[ENTITY_LIFT].bounds.high[1], lift->z};
}

static std::vector<unsigned char> Frame(int& drawn, bool wholeCube)
{
    std::vector<unsigned char> rgba((size_t)screenWidth * (size_t)screenHeight * 4);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (wholeCube) RenderWholeCube(); else RenderWorld();
    drawn = wholeCube ? 0 : modelsDrawn;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, (int)screenWidth, (int)screenHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

// The models of the cube around the player's cell: what the whole cube submits.
static int CubeModels()
{
    int d = gameState.viewDistance, models = 0;
    CellSpan xs = ClipCellSpan(gameState.cell.x, d, GRID_SIZE_X), ys = ClipCellSpan(gameState.cell.y, d, GRID_LAYERS);
    CellSpan zs = ClipCellSpan(gameState.cell.z, d, GRID_SIZE_Z);
    for (int x = xs.from; x < xs.to; x++)
        for (int y = ys.from; y < ys.to; y++)
            for (int z = zs.from; z < zs.to; z++)
                models += (T(x, y, z) != 0) + entityCount[CellIndex(x, y, z)];
    return models;
}

// Draws every view of a generated world with the whole cube and with the game's renderer and
// compares the frames byte for byte; the whole cube of the start at view distance 20 is mostly
// left out.
static void ExpectSameFrames(int width, int height)
{
    OpenTestDisplay(width, height);
    LoadTileModels();
    LoadEntityModels();
    worldTexture = LoadWorldTexture();
    SeedWorldRandom(1);
    GenerateWorld();
    ResetGameState();
    PlaceEntities();
    Vec3 start = gameState.position, channel = CellOf(TILE_CHANNEL), cave = CellOf(TILE_CAVE_OPEN_CENTRE);
    Vec3 bridge = CellOf(TILE_BRIDGE_SPAN), onLift = RaiseLiftTo(CellOf(TILE_LIFT_TOP));
    float eye = start.y + EYE_HEIGHT, up = PITCH_LIMIT;
    const std::vector<View> views = {
        {"start", start.x, eye, start.z, 0.0f, gameState.yaw, 10},
        {"start, far", start.x, eye, start.z, 0.0f, gameState.yaw, 20},
        {"start, near", start.x, eye, start.z, -1.2f, gameState.yaw + 1.0f, 1},
        {"start, two cells", start.x, eye, start.z, 0.3f, gameState.yaw + 2.0f, 2},
        {"start, no textures", start.x, eye, start.z, 0.1f, gameState.yaw, 10, false},
        {"straight up", start.x, eye, start.z, up, 0.4f, 20},
        {"straight down", start.x, eye, start.z, -up, 2.4f, 10},
        {"channel", channel.x, channel.y - 1.0f, channel.z, 0.0f, 0.0f, 10},
        {"channel, across", channel.x, channel.y - 1.0f, channel.z, 0.2f, 1.5707964f, 20},
        {"cave", cave.x, cave.y - 1.0f, cave.z, 0.0f, 0.8f, 20},
        {"bridge", bridge.x, bridge.y + 6.0f, bridge.z, -0.3f, 3.0f, 20},
        {"on a lift at the top", onLift.x, onLift.y + EYE_HEIGHT, onLift.z, -0.6f, 5.0f, 10},
        {"on a lift, far", onLift.x, onLift.y + EYE_HEIGHT, onLift.z, 0.1f, 2.0f, 20},
        {"face -x", 8.0f, 40.0f, 1250.0f, 0.0f, 0.0f, 20},
        {"face +x", 2490.0f, 40.0f, 1250.0f, -0.1f, 3.1f, 10},
        {"face -z", 1250.0f, 60.0f, 6.0f, 0.0f, 1.6f, 20},
        {"face +z", 1250.0f, 60.0f, 2494.0f, 0.2f, 4.7f, 2},
        {"face top", 1250.0f, 146.0f, 1250.0f, -0.7f, 0.0f, 20},
        {"corner low", 4.0f, 2.0f, 4.0f, 0.5f, 0.785f, 20},
        {"corner high", 2496.0f, 144.0f, 2496.0f, -0.5f, 3.9f, 10},
        {"outside", -60.0f, 40.0f, 1250.0f, 0.0f, 0.1f, 20},
        {"outside, looking away", -60.0f, 40.0f, 1250.0f, 0.0f, 3.3f, 20, true, false},
        {"far outside", -400.0f, 40.0f, -400.0f, 0.0f, 0.785f, 20, true, false},
    };
    for (const View& v : views) {
        gameState.eye = Vec3{v.x, v.y, v.z};
        gameState.cell = CellCoord{PlayerCell(v.x), PlayerCell(v.y - EYE_HEIGHT), PlayerCell(v.z)};
        gameState.pitch = v.pitch;
        gameState.yaw = v.yaw;
        gameState.viewDistance = v.distance;
        gameState.texturesEnabled = v.textures;
        int whole = 0, drawn = 0;
        std::vector<unsigned char> reference = Frame(whole, true), frame = Frame(drawn, false);
        size_t lit = 0, differing = 0;
        for (size_t i = 0; i < frame.size(); i += 4) {
            lit += (reference[i] | reference[i + 1] | reference[i + 2]) != 0;
            differing += memcmp(&reference[i], &frame[i], 4) != 0;
        }
        EXPECT_EQ(differing, 0u) << v.name << " at " << width << " x " << height;
        EXPECT_LE(drawn, CubeModels()) << v.name;
        EXPECT_EQ(lit > 0, v.seen) << v.name;
        if (strcmp(v.name, "start, far") == 0) {
            EXPECT_LT(3 * drawn, CubeModels()) << drawn << " of " << CubeModels();
        }
    }
}

TEST(WorldCulling, DrawsTheSameFramesAsTheWholeCubeAt800x600) { ExpectSameFrames(800, 600); }
TEST(WorldCulling, DrawsTheSameFramesAsTheWholeCubeAt1280x720) { ExpectSameFrames(1280, 720); }
