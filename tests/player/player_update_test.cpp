// The player simulation: the update's rates and keys, collision with crafted meshes and the Media
// models, the entities near the player and the frame loop's pause.
#include <SDL.h>
#include "app/display.h"
#include "app/frame_clock.h"
#include "app/game_loop.h"
#include "app/input.h"
#include "interface/menu_fade.h"
#include "player/collision.h"
#include "player/game_state.h"
#include "player/nearby_entities.h"
#include "player/player_update.h"
#include "render/model_sets.h"
#include "support/test_support.h"

// A new game at (x, y, z) in the cell of that point, on an empty grid (with a floor of tile 39, top
// at 26, over cells x 0..20, z 0..10 of layer 3), no keys, the models loaded.
static void StartAt(float x, float y, float z, bool floor = false)
{
    NewGameOnEmptyGrid();
    PlacePlayer(x, y, z);
    if (floor) Fill(0, 20, 3, 0, 10, TILE_PROP_GROUND);
}

// Runs n updates and gives the last one's displacement.
static Vec3 Step(int n, float dt = 1.0f)
{
    for (int i = 1; i < n; i++) UpdateGame(dt);
    Vec3 before = gameState.position;
    UpdateGame(dt);
    return Sub(gameState.position, before);
}

static void ExpectNear(const Vec3& got, const Vec3& want, double tolerance, int row)
{
    for (float Vec3::*c : {&Vec3::x, &Vec3::y, &Vec3::z}) EXPECT_NEAR(got.*c, want.*c, tolerance) << "row " << row;
}

// A new entity filed in the cell of its position.
static Entity* File(int kind, float x, float y, float z, float velocityY = 0.0f, float angle = 0.0f)
{
    Entity* e = new Entity{kind, x, y, z, angle, 0.0f, velocityY, 0.0f, 0.05f};
    FileEntity(CellIndex(PlayerCell(x), PlayerCell(y), PlayerCell(z)), e);
    return e;
}

TEST(PlayerUpdate, WalkingFallingJumpingAndFlightFollowTheirRates)
{
    // Near the origin, where float positions keep the small steps exact. W on the floor: 0.4 a
    // step, 0.36 stored, standing at the floor's top; into a rock face at x = 35, stopped at 33.75.
    for (bool rock : {false, true}) {
        StartAt(10, 26, 50, true);
        worldGrid[CellIndex(4, 3, 5)].tileType = rock ? TILE_ROCK : TILE_PROP_GROUND;
        HoldKeys({rock ? SDLK_UP : SDLK_w});
        Vec3 step = Step(150);
        EXPECT_NEAR(step.x, rock ? 0.0f : 0.4f, 1e-4);
        EXPECT_NEAR(gameState.velocity.x, rock ? 0.0f : 0.36f, 1e-4);
        if (rock) { EXPECT_NEAR(gameState.position.x, 33.75f, 1e-4); }
        EXPECT_NEAR(gameState.position.y, 26.0f, 1e-4);
        EXPECT_TRUE(gameState.onGround);
    }
    StartAt(0, 100, 0);
    EXPECT_NEAR(Step(300).y, -0.875f, 1e-4);  // a free fall

    // Space held from standing: 0.65 up at once, the jump ends in the 42nd update; released, in the 2nd.
    for (bool held : {true, false}) {
        StartAt(0, 0, 0);
        gameState.onGround = true;
        HoldKeys({SDLK_SPACE});
        EXPECT_NEAR(Step(1).y, 0.65f, 1e-6);
        int updates = 1;
        if (!held) HoldKeys({});
        for (; gameState.jumping && updates < 100; updates++) Step(1);
        EXPECT_EQ(updates, held ? 42 : 2);
    }

    // One update from rest in the air: W+S adds nothing; W+D the acceleration of W alone, at 45
    // degrees to the right (+z at yaw 0); in free flight S thrusts 0.2 along the view, then 10 % damping.
    const struct { std::initializer_list<int> keys; bool fly; Vec3 want; } pushes[] = {
        {{SDLK_w, SDLK_s}, false, {0, 0, 0}},
        {{SDLK_w}, false, {0.036f, 0, 0}},
        {{SDLK_w, SDLK_d}, false, {0.036f * 0.70710678f, 0, 0.036f * 0.70710678f}},
        {{SDLK_s}, true, {0.18f * cosf(0.3f) * cosf(1.0f), 0.18f * sinf(0.3f), 0.18f * cosf(0.3f) * sinf(1.0f)}}};
    for (const auto& p : pushes) {
        StartAt(0, 0, 0);
        gameState.flyMode = p.fly; gameState.pitch = p.fly ? 0.3f : 0.0f; gameState.yaw = p.fly ? 1.0f : 0.0f;
        HoldKeys(p.keys); Step(1);
        const Vec3& v = gameState.velocity;
        ExpectNear(Vec3{v.x, p.fly ? v.y : 0, v.z}, p.want, 2e-7, (int)(&p - pushes));
    }
}

TEST(PlayerUpdate, NumberKeysAndMouseLook)
{
    // View distance within 1..20, and the tile editor on the player's cell, which is left alone
    // off the grid (layer 15, whose index would be that of (126, 0, 125)).
    const struct { int key, layer, view, tile, orientation, wantView, wantTile, wantOrientation; } keys[] = {
        {SDLK_1, 3, 1, 0, 0, 1, 0, 0},   {SDLK_1, 3, 5, 0, 0, 4, 0, 0},   {SDLK_2, 3, 20, 0, 0, 20, 0, 0},
        {SDLK_2, 3, 19, 0, 0, 20, 0, 0}, {SDLK_5, 3, 10, 0, 0, 10, 45, 0}, {SDLK_6, 3, 10, 45, 1, 10, 0, 1},
        {SDLK_6, 3, 10, 10, 0, 10, 11, 0}, {SDLK_7, 3, 10, 9, 3, 10, 9, 0}, {SDLK_7, 3, 10, 9, 1, 10, 9, 2},
        {SDLK_5, 15, 10, 0, 0, 10, 0, 0}};
    for (const auto& k : keys) {
        StartAt(1250, 1000, 1250);
        gameState.cell = {125, k.layer, 125};
        gameState.viewDistance = k.view;
        WorldCell& c = worldGrid[k.layer == 15 ? CellIndex(126, 0, 125) : CellIndex(125, 3, 125)];
        c = WorldCell{(uint8_t)k.tile, (uint8_t)k.orientation};
        HoldKeys({}, k.key); Step(1);
        EXPECT_EQ(gameState.viewDistance, k.wantView) << "row " << &k - keys;
        EXPECT_EQ(c.tileType, k.wantTile) << "row " << &k - keys;
        EXPECT_EQ(c.orientation, k.wantOrientation) << "row " << &k - keys;
    }
    // The pointer as a rate control on 800 x 600 with dt 1; pitch is clamped with or without focus.
    const struct { bool focus; float width; int x, y; float pitch, wantYaw, wantPitch; } looks[] = {
        {false, 800, 800, 0, 2.0f, 0.0f, 1.5707964f}, {true, 800, 400, 300, 0.0f, 0.0f, 0.0f},
        {true, 800, 800, 0, 0.0f, 0.05f, 0.04f},      {true, 800, 0, 600, 0.0f, -0.05f, -0.04f},
        {true, 800, 400, 300, -3.0f, 0.0f, -1.5707964f}, {true, 0, 800, 0, 0.0f, 0.0f, 0.0f}};
    for (const auto& l : looks) {
        StartAt(1250, 1000, 1250);
        appHasMouseFocus = l.focus; screenWidth = l.width; screenHeight = l.width * 0.75f;
        mouseX = l.x; mouseY = l.y; gameState.pitch = l.pitch;
        Step(1);
        EXPECT_FLOAT_EQ(gameState.yaw, l.wantYaw) << l.x << "," << l.y;
        EXPECT_FLOAT_EQ(gameState.pitch, l.wantPitch) << l.x << "," << l.y;
    }
}

TEST(Collision, PlanesEdgesCornersAndEntities)
{
    // A point on an edge, where float rounding gives a cosine just below -1: an angle, and inside.
    Vec3 a = {3, 0, 2.3f}, b = {6.7f, 0, 3.5f}, c = {3, 0, 9};
    Vec3 q = {a.x + (b.x - a.x) * 0.5f, 0, a.z + (b.z - a.z) * 0.5f};
    EXPECT_FLOAT_EQ(AngleBetween(Vec3{a.x - q.x, 0, a.z - q.z}, Vec3{b.x - q.x, 0, b.z - q.z}), 3.1415927f);
    EXPECT_TRUE(PointInTriangle(q, a, b, c));
    EXPECT_FALSE(PointInTriangle(a, a, b, c));

    // Floors facing up (normal into the solid below): the simple triangle and the one above; and
    // the lift (an 8 x 8 deck, top 1 above its origin) of the Media models.
    const float simple[9] = {0, 0, 0, 0, 0, 10, 10, 0, 0};
    const float odd[9] = {a.x, 0, a.z, c.x, 0, c.z, b.x, 0, b.z};
    const float sliver[9] = {-3, -4, -3, -3, -4, -3, 3, -4, 3};  // no area: never pushes
    StartAt(0, 0, 0);
    CollisionMesh* meshes[4] = {BuildCollisionMesh(3, simple), BuildCollisionMesh(3, odd), entityModels[1].collision,
                                BuildCollisionMesh(3, sliver)};
    const struct { int mesh; Vec3 centre; bool faces, edges; Vec3 want; } cases[] = {
        {0, {2, 1, 2}, true, true, {2, 2.25f, 2}},          // over the face: 1.25 squashed above it
        {0, {2, 1, 2}, false, true, {2, 1, 2}},             // faces not resolved
        {0, {2, 2.3f, 2}, true, true, {2, 2.3f, 2}},        // beyond the radius
        {0, {2, -1, 2}, true, true, {2, -1, 2}},            // behind the face
        {0, {-0.5f, 0.9f, 5}, true, true, {-0.8838835f, 1.5909902f, 5}},  // pushed off edge x = 0
        {0, {-0.5f, 0.9f, 5}, true, false, {-0.5f, 0.9f, 5}},
        {0, {0, 0, 0}, true, true, {0, 0, 0}},              // on a corner: no direction, not moved
        {1, {q.x, 1, q.z}, true, false, {q.x, 2.25f, q.z}},  // on the rounding edge: through the face
        {2, {4.3f, 2.8f, 2}, false, true, {4.3591853f, 3.1551104f, 2}},  // off the deck's edge x = 4
        {3, {0, -2.75f, 0}, true, true, {0, -2.75f, 0}},    // over the sliver's long edge
        {3, {-3.5f, -2.75f, -3}, true, true, {-3.5f, -2.75f, -3}},  // beside its doubled corner
    };
    for (const auto& k : cases) {
        gameState.position = k.centre;
        CollideWithMesh(1.25f, 0, 0, 0, 0, meshes[k.mesh], k.faces, k.edges);
        ExpectNear(gameState.position, k.want, 1e-5, (int)(&k - cases));
    }
    for (int m : {0, 1, 3}) FreeCollisionMesh(meshes[m]);
    // The lift in a cell with no tile, turned by its angle: it blocks through its faces only.
    const struct { float angle; Vec3 feet; float wantY; } lifts[] = {
        {0.0f, {1254.8f, 20.5f, 1250}, 20.5f},        // beside the square deck
        {0.7853982f, {1254.8f, 20.5f, 1250}, 21.0f},  // under the turned deck's corner: lifted onto it
        {0.0f, {1254.3f, 20.55f, 1252}, 20.55f},      // the centre off the edge, as in the last case above
    };
    for (const auto& l : lifts) {
        StartAt(l.feet.x, l.feet.y, l.feet.z);
        File(ENTITY_LIFT, 1250, 20, 1250, 0.075f, l.angle);
        File(ENTITY_COLLECTABLE, l.feet.x, l.feet.y + 1, l.feet.z);  // never blocks
        CollidePlayerWithWorld();
        ExpectNear(gameState.position, Vec3{l.feet.x, l.wantY, l.feet.z}, 1e-4, (int)(&l - lifts));
    }
}

TEST(NearbyEntities, CollectablesLiftsAndRefiling)
{
    StartAt(1250, 26, 1250);
    EnterTempDir({"Saves"});
    int home = CellIndex(125, 3, 125);
    File(ENTITY_COLLECTABLE, 1253.2f, 26, 1250);              // 3.2 away: taken
    Entity* edge = File(ENTITY_COLLECTABLE, 1250, 26, 1253.25f);  // 3.25 away: slides into slot 0, spun once
    Entity* nearby = File(ENTITY_COLLECTABLE, 1350, 26, 1250);      // 10 cells away: spun
    Entity* frozen = File(ENTITY_COLLECTABLE, 1360, 26, 1250);    // 11 cells away: frozen
    UpdateNearbyEntities(2.0f);
    EXPECT_EQ(gameState.collectablesFound, 1);
    ASSERT_EQ(entityCount[home], 1);
    EXPECT_EQ(EntitySlot(home, 0), edge);
    EXPECT_EQ((Floats{edge->angle, nearby->angle, frozen->angle}), (Floats{0.1f, 0.1f, 0.0f}));
    std::vector<unsigned char> core = ReadFileBytes("Saves/coresave.dat");  // rewritten at once
    ASSERT_EQ(core.size(), 937576u + 3 * 36);
    EXPECT_EQ(core[10] + (core[11] << 8), 1);
    // Key 9 reads that file back: the three records held are released and the three saved filed.
    gameState.collectablesFound = 0;
    HoldKeys({}, SDLK_9); Step(1);
    EXPECT_EQ(gameState.collectablesFound, 1);
    ASSERT_EQ(entityCount[home], 1);
    EXPECT_EQ(EntitySlot(home, 0)->z, 1253.25f);

    // A lift, filed in the cell of its height, in the shaft 32 (layer 3), 33 (4..6), 34 (7) at
    // column (130, 130); dt 2, the player at cell (125, 3, 125) or in the column at height playerY.
    for (int y = 3; y <= 7; y++) Put(130, y, 130, y == 3 ? TILE_LIFT_BOTTOM : y == 7 ? TILE_LIFT_TOP : TILE_LIFT_SHAFT);
    const struct { int x; float y, v; bool inColumn; float playerY, wantY, wantV; } lifts[] = {
        {130, 30, 0.075f, false, 0, 30.15f, 0.075f},   // rises
        {130, 40, 0.075f, true, 45, 40.15f, 0.075f},   // rider above, far from the top
        {130, 60, 0.075f, true, 65, 60, 0.075f},       // rider above, top cell next: waits
        {130, 65, 0.075f, true, 70, 65, 0.075f},       // in the top cell: waits
        {130, 69.9f, 0.075f, false, 0, 70, -0.075f},   // turns at the top cell's centre
        {130, 70, -0.075f, false, 0, 69.85f, -0.075f},  // descends
        {130, 40, -0.075f, true, 35.3f, 40, -0.075f},  // player more than 4.5 below, bottom next: waits
        {130, 40, -0.075f, true, 35.4f, 39.85f, -0.075f},
        {130, 30.1f, -0.075f, false, 0, 30, 0.075f},   // turns at the bottom cell's centre
        {135, 40, 0.075f, false, 0, 40.15f, 0.075f},   // 10 cells away: moves
        {136, 40, 0.075f, false, 0, 40, 0.075f},       // 11 cells away: frozen
    };
    for (const auto& l : lifts) {
        ClearEntityIndex();
        Entity* lift = File(ENTITY_LIFT, 10.0f * l.x, l.y, 1300, l.v);
        gameState.cell = l.inColumn ? CellCoord{130, 5, 130} : CellCoord{125, 3, 125};
        gameState.position = {10.0f * gameState.cell.x, l.playerY, 10.0f * gameState.cell.z};
        UpdateNearbyEntities(2.0f);
        EXPECT_FLOAT_EQ(lift->y, l.wantY) << "row " << &l - lifts;
        EXPECT_EQ(lift->velocityY, l.wantV) << "row " << &l - lifts;
    }

    // A lift whose home cell is full stays filed where it was; with room it moves.
    ClearEntityIndex();
    int below = CellIndex(130, 6, 130), top = CellIndex(130, 7, 130);
    Entity* lift = File(ENTITY_LIFT, 1300, 60, 1300);
    lift->y = 66; gameState.cell = {125, 3, 125};
    for (int k = 0; k < 2; k++) File(ENTITY_PROP, 1300, 70, 1300);
    RefileNearbyEntities();
    EXPECT_EQ((Ints{entityCount[below], entityCount[top]}), (Ints{1, 2}));
    delete EntitySlot(top, 1); RemoveEntitySlot(top, 1);
    RefileNearbyEntities();
    EXPECT_EQ((Ints{entityCount[below], entityCount[top]}), (Ints{0, 2}));
    EXPECT_EQ(EntitySlot(top, 1), lift);
}

TEST(PlayerUpdate, TheFrameLoopUpdatesOnlyWhileTheMenuFadeIsZero)
{
    ASSERT_NO_FATAL_FAILURE(OpenTestDisplay(200, 150));  // RunFrame needs the window
    StartAt(1250, 30, 1250);
    menuFade = 50.0f;
    RunFrame();
    EXPECT_EQ(gameState.position.y, 30.0f);
    // Before any frame rate is measured the step is its largest, 2: on the empty grid the player falls
    // 0.035 * 2 a time unit for 2 time units.
    menuOpen = false; menuFade = 0.0f; framesPerSecond = 0.0f;
    RunFrame();
    EXPECT_FLOAT_EQ(gameState.position.y, 29.86f);
}
