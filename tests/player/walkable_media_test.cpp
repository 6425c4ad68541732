// The shipped models under the game's own physics: pieces that must hold a walking player, lifts
// boarded at the bottom, collectables within reach, and long random walks through generated worlds.
// No case takes a collectable or presses a save key, so nothing is written.
#include <SDL.h>
#include "player/game_state.h"
#include "player/player_update.h"
#include "support/test_support.h"
#include "worldgen/cave_level.h"
#include "worldgen/finishing_details.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"

// Runs `updates` updates of dt 1 with `keys` held; gives the lowest height of the feet, keeps the highest.
static float highest;
static float Play(int updates, const std::vector<int>& keys)
{
    HoldKeys(keys);
    float lowest = highest = gameState.position.y;
    for (int i = 0; i < updates; i++) {
        UpdateGame(1.0f);
        lowest = std::min(lowest, gameState.position.y);
        highest = std::max(highest, gameState.position.y);
    }
    return lowest;
}

static float DistanceTo(float x, float y, float z)
{
    return std::hypot(gameState.position.x - x, gameState.position.y - y, gameState.position.z - z);
}

TEST(WalkableMedia, CraftedPiecesHoldTheWalkingPlayer)
{
    // A descent as the generator lays it out on an empty grid, walked from its top to the cave
    // while pushing against one ramp wall and then the other, once walking, once jumping.
    for (int key : {SDLK_a, SDLK_d}) {
        for (bool jump : {false, true}) {
            NewGameOnEmptyGrid();
            Put(120, CHANNEL_LAYER, 120, TILE_CHANNEL_SIDE, 0);
            ASSERT_TRUE(TryPlaceDescent(120, 120));
            FillCaveFloor();
            ClearDescentMarkers();
            PlacePlayer(1200, 16, 1200, PI);
            Play(40, {SDLK_w});
            std::vector<int> keys = {SDLK_w, key};
            if (jump) keys.push_back(SDLK_SPACE);
            EXPECT_GE(Play(860, keys), -4.01f) << "key " << key << " jump " << jump;
            // Walking, the ramp walls lead down into the cave; jumping may land beside the ramps.
            EXPECT_TRUE(jump || (gameState.position.x < 1135.0f && std::fabs(gameState.position.y + 4) < 0.05f))
                << gameState.position.x << "," << gameState.position.y;
        }
    }
    // Along a bridge over nothing, at an angle into either parapet and straight into one.
    for (float yaw : {0.3f, -0.3f, PI / 2}) {
        NewGameOnEmptyGrid();
        Fill(100, 112, ROOM_LAYER, 100, 100, TILE_BRIDGE_SPAN);
        PlacePlayer(1000, 26, 1000, yaw);
        EXPECT_GE(Play(200, {SDLK_w}), 25.99f) << "yaw " << yaw;
        EXPECT_LT(std::fabs(gameState.position.z - 1000), 3.0f - 1.25f + 0.01f);
    }
    // A lift resting at the bottom of a four-cell shaft: walked onto up its ramp, it carries the
    // player to the cell under the top, where it waits.
    NewGameOnEmptyGrid();
    Fill(94, 106, ROOM_LAYER, 94, 106, TILE_FLOOR);
    Put(100, ROOM_LAYER, 100, TILE_LIFT_BOTTOM), Put(100, ROOM_LAYER + 3, 100, TILE_LIFT_TOP);
    for (int y = 1; y <= 2; y++) Put(100, ROOM_LAYER + y, 100, TILE_LIFT_SHAFT);
    PlacePlayer(975, 26, 1000);
    Play(55, {SDLK_w});
    Entity* lift = new Entity{ENTITY_LIFT, 1000, 30, 1000, 0, 0, LIFT_SPEED, 0, 0};
    FileEntity(CellIndex(100, ROOM_LAYER, 100), lift);
    Play(20, {SDLK_w});
    Play(420, {});
    EXPECT_LT(DistanceTo(1000, gameState.position.y, 1000), 4.0f);
    EXPECT_GT(gameState.position.y, 45.0f) << "rode up";
    EXPECT_NEAR(gameState.position.y, lift->y + 1, 0.05f);
    // The boundary ring and the top layer hold a player who walks and jumps into them.
    NewGameOnEmptyGrid();
    CloseWorldBoundary();
    Fill(1, 1, TOP_LAYER - 1, 1, 5, TILE_FLOOR);
    PlacePlayer(12, 126, 30, PI);
    EXPECT_GE(Play(300, {SDLK_w, SDLK_d, SDLK_SPACE}), 125.99f);
    EXPECT_LE(highest, 10 * TOP_LAYER - 5 - 2 * 2.25f + 0.01f) << "under the top layer";
    EXPECT_GE(gameState.position.x, 6.24f);
    EXPECT_GE(gameState.position.z, 6.24f);
}

TEST(WalkableMedia, CollectableTilesLetAStandingPlayerReachTheirCollectable)
{
    // Every tile a collectable may occupy (the last: any cell over a room top, here an empty one).
    const struct { int tile, below; } PIECES[] = {
        {TILE_WALL_COLUMN, 0}, {TILE_THICK_WALL_COLUMN, 0}, {TILE_ROOM_TOP, 0}, {TILE_WALL_CORE_CENTRE, 0},
        {TILE_WALL, 0}, {TILE_WALL_CORNER, 0}, {TILE_WALL_CORE, 0}, {TILE_WALL_OUTLET, TILE_CHANNEL_HEAD},
        {TILE_CHANNEL, 0}, {TILE_CAVE_OPEN_CENTRE, 0}, {TILE_CAVE_ENTRANCE, 0}, {TILE_CAVE_FLOOR, 0},
        {TILE_FLOOR, 0}, {TILE_EMPTY, TILE_ROOM_TOP}};
    for (const auto& piece : PIECES) {
        NewGameOnEmptyGrid();
        Put(100, 5, 100, piece.tile);
        Put(100, 4, 100, piece.below);
        ASSERT_TRUE(CollectableMayStand(100, 5, 100));
        PlacePlayer(1000, 50, 1000);
        Play(150, {});
        EXPECT_TRUE(gameState.onGround) << "tile " << piece.tile;
        EXPECT_LT(DistanceTo(1000, 47, 1000), 3.2f) << "tile " << piece.tile << " rests at " << gameState.position.y;
    }
}

TEST(WalkableMedia, GeneratedWorldsHoldRandomWalksAndEveryCollectableIsReachable)
{
    for (unsigned seed : {1u, 42u, 1733432707u}) {
        NewGameOnEmptyGrid();
        srand(seed);
        GenerateWorld();
        PlaceEntities();
        // Where the collectables float; then the index is emptied so that none is taken.
        std::vector<Vec3> spots;
        for (int i = 0; i < CELL_COUNT; i++)
            for (int k = 0; k < entityCount[i]; k++)
                if (entitySlots[2 * i + k]->kind == ENTITY_COLLECTABLE)
                    spots.push_back({entitySlots[2 * i + k]->x, entitySlots[2 * i + k]->y, entitySlots[2 * i + k]->z});
        ASSERT_EQ(spots.size(), 1000u);
        ClearEntityIndex();
        gameState.viewDistance = 1;
        int reached = 0;
        for (const Vec3& s : spots) {
            PlacePlayer(s.x, s.y + 3, s.z);
            Play(60, {});
            reached += gameState.onGround && DistanceTo(s.x, s.y, s.z) < 3.25f;
        }
        EXPECT_EQ(reached, 1000) << "seed " << seed;

        // Walks from 16 of those spots, a new direction (and sometimes a jump) every 50 updates.
        srand(seed);
        const int KEYS[] = {SDLK_w, SDLK_a, SDLK_s, SDLK_d};
        for (int walk = 0; walk < 16; walk++) {
            const Vec3& s = spots[rand() % spots.size()];
            PlacePlayer(s.x, s.y + 3, s.z);
            for (int leg = 0; leg < 60; leg++) {
                std::vector<int> keys = {KEYS[rand() % 4]};
                if (rand() % 4 == 0) keys.push_back(SDLK_SPACE);
                gameState.yaw = (float)(rand() % 628) / 100;
                float lowest = Play(50, keys);
                Vec3 p = gameState.position;
                // The cave floor is at -4; a push off a stalagmite may press a little below it.
                ASSERT_GE(lowest, -4.5f) << "seed " << seed << " walk " << walk << " leg " << leg;
                ASSERT_TRUE(p.x > 0 && p.x < 2490 && p.z > 0 && p.z < 2490 && p.y < 150)
                    << "seed " << seed << " walk " << walk << " at " << p.x << "," << p.y << "," << p.z;
            }
        }
    }
}
