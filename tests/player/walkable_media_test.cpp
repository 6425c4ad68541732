// The shipped models under the game's own physics: the ways between the levels, pieces that must
// hold a walking player, collectables within reach, and the reach tool's search of the known-good
// worlds from their start. No case takes a collectable or presses a save key, so nothing is written.
#include <SDL.h>
#include <sys/wait.h>

#include <map>
#include <sstream>
#include "player/game_state.h"
#include "player/player_update.h"
#include "support/test_support.h"
#include "world/saves.h"
#include "worldgen/cave_level.h"
#include "worldgen/finishing_details.h"
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
            if (jump) continue;
            EXPECT_LT(gameState.position.x, 1135.0f) << "key " << key;
            EXPECT_NEAR(gameState.position.y, -4.0f, 0.05f) << "key " << key;
        }
    }
    // And back up: from the cave floor before the entrance the ramps lead to the channel walkway.
    PlacePlayer(1120, -4, 1200);
    HoldKeys({SDLK_w});
    for (int i = 0; i < 1200 && gameState.position.x < 1197.0f; i++) UpdateGame(1.0f);
    EXPECT_GE(gameState.position.x, 1197.0f) << "walked up the descent";
    EXPECT_NEAR(gameState.position.y, 16.0f, 0.01f) << "on the walkway";

    // An outlet in a street over the head of a channel running along z: walking in, the player
    // drops onto the channel bed, passing the outlet's collectable; a held jump, walking once
    // clear of the street's underside, leads back up onto the street.
    NewGameOnEmptyGrid();
    Fill(98, 102, ROOM_LAYER, 95, 105, TILE_WALL_CORE);
    Put(100, ROOM_LAYER, 100, TILE_WALL_OUTLET);
    Fill(99, 99, CHANNEL_LAYER, 95, 105, TILE_CHANNEL_SIDE, 2);
    Fill(101, 101, CHANNEL_LAYER, 95, 105, TILE_CHANNEL_SIDE, 0);
    Fill(100, 100, CHANNEL_LAYER, 95, 105, TILE_CHANNEL);
    Put(100, CHANNEL_LAYER, 100, TILE_CHANNEL_HEAD);
    PlacePlayer(1000, 26, 985, PI / 2);
    float nearest = 1e9f;
    HoldKeys({SDLK_w});
    for (int i = 0; i < 120; i++) {
        UpdateGame(1.0f);
        nearest = std::min(nearest, DistanceTo(1000, 27, 1000));
    }
    EXPECT_LT(nearest, 3.25f) << "the outlet's collectable within reach";
    EXPECT_NEAR(gameState.position.y, 15.4f, 0.01f) << "on the channel bed";
    PlacePlayer(1000, 15.4f, 996.5f, PI / 2);
    Play(10, {});
    Play(16, {SDLK_SPACE});
    Play(40, {SDLK_SPACE, SDLK_w});
    Play(60, {SDLK_w});
    EXPECT_NEAR(gameState.position.y, 26.0f, 0.01f) << "back on the street";
    EXPECT_GT(gameState.position.z, 1005.0f);
    // Along a bridge over nothing, at an angle into either parapet and straight into one.
    for (float yaw : {0.3f, -0.3f, PI / 2}) {
        NewGameOnEmptyGrid();
        Fill(100, 112, ROOM_LAYER, 100, 100, TILE_BRIDGE_SPAN);
        PlacePlayer(1000, 26, 1000, yaw);
        EXPECT_GE(Play(200, {SDLK_w}), 25.99f) << "yaw " << yaw;
        EXPECT_LT(std::fabs(gameState.position.z - 1000), 3.0f - 1.25f + 0.01f);
    }
    // A lift coming down on a player at the edge of its foot's pad, in a room of two storeys with
    // nothing under its floor, as they walk off along each axis under the upper storey's floor:
    // they stay on the ground floor, whatever the lift's height.
    for (float liftY : {34.0f, 34.3f, 34.4f, 35.0f}) {
        for (int h = 0; h < 4; h++) {
            NewGameOnEmptyGrid();
            Fill(95, 105, ROOM_LAYER, 95, 105, TILE_FLOOR);
            Fill(95, 105, ROOM_LAYER + 1, 95, 105, TILE_FLOOR);
            Put(100, ROOM_LAYER, 100, TILE_LIFT_BOTTOM);
            Put(100, ROOM_LAYER + 1, 100, TILE_LIFT_SHAFT);
            FileEntity(CellIndex(100, ROOM_LAYER, 100), new Entity{ENTITY_LIFT, 1000, liftY, 1000, 0, 0, -LIFT_SPEED, 0, 0});
            const float out = h * PI / 2, c = std::cos(out), s = std::sin(out);
            PlacePlayer(1000 + 3.01f * c + 1.73f * s, 32.73f, 1000 + 3.01f * s - 1.73f * c, out);
            gameState.onGround = true;
            EXPECT_GE(Play(60, {SDLK_w}), 25.99f) << "lift at " << liftY << ", heading " << h;
        }
    }
    // A lift leaving its foot is boarded from each side by a player who walks up the ramp and lets
    // go of the key at the deck's edge; it carries them up the shaft.
    for (int h = 0; h < 4; h++) {
        NewGameOnEmptyGrid();
        Fill(95, 105, ROOM_LAYER, 95, 105, TILE_FLOOR);
        for (int y = ROOM_LAYER; y <= ROOM_LAYER + 4; y++)
            Put(100, y, 100, y == ROOM_LAYER ? TILE_LIFT_BOTTOM : y == ROOM_LAYER + 4 ? TILE_LIFT_TOP : TILE_LIFT_SHAFT);
        FileEntity(CellIndex(100, ROOM_LAYER, 100), new Entity{ENTITY_LIFT, 1000, 30, 1000, 0, 0, LIFT_SPEED, 0, 0});
        const float in = h * PI / 2 + PI;
        PlacePlayer(1000 - 7 * std::cos(in), 29, 1000 - 7 * std::sin(in), in);
        for (int i = 0; i < 60; i++) {
            HoldKeys(std::hypot(gameState.position.x - 1000, gameState.position.z - 1000) > 4 ? std::vector<int>{SDLK_w} : std::vector<int>{});
            UpdateGame(1.0f);
        }
        Play(300, {});
        EXPECT_GT(gameState.position.y, 45.0f) << "heading " << h;
    }
    // A line of cave partitions with open cave on both sides: the doorway leads through.
    NewGameOnEmptyGrid();
    Fill(98, 102, CAVE_LAYER, 97, 103, TILE_CAVE_FLOOR);
    Fill(98, 102, CAVE_LAYER, 100, 100, TILE_CAVE_PARTITION);
    PlacePlayer(1000, -4, 980, PI / 2);
    Play(100, {SDLK_w});
    EXPECT_GT(gameState.position.z, 1010.0f) << "through the partition";
    EXPECT_NEAR(gameState.position.y, -4.0f, 0.01f);
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
    // Every tile a collectable may occupy (the last: any cell over a room top, here an empty one),
    // but the outlet, whose collectable is taken on the way in (above).
    const struct { int tile, below; } PIECES[] = {
        {TILE_WALL_COLUMN, 0}, {TILE_THICK_WALL_COLUMN, 0}, {TILE_ROOM_TOP, 0}, {TILE_WALL_CORE_CENTRE, 0},
        {TILE_WALL, 0}, {TILE_WALL_CORNER, 0}, {TILE_WALL_CORE, 0},
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

// A run of the reach tool: its figures (its key=value lines), its whole report and its status.
struct ReachRun {
    std::map<std::string, std::string> figures;
    std::string report;
    int status;
    // The figure `key` as a number, or -1 when the tool gave none.
    int operator[](const std::string& key) const
    {
        auto at = figures.find(key);
        return at == figures.end() ? -1 : std::stoi(at->second);
    }
    std::vector<int> CellsByLayer() const
    {
        std::vector<int> layers;
        std::istringstream in(figures.count("cells_by_layer") ? figures.at("cells_by_layer") : "");
        for (int n; in >> n;) layers.push_back(n);
        return layers;
    }
};

static ReachRun RunReach(const std::string& dir, const std::string& arguments)
{
    ReachRun r;
    FILE* pipe = popen(("cd " + dir + " && " REACH_BINARY " " + arguments + " 2>/dev/null").c_str(), "r");
    char line[512];
    while (pipe && fgets(line, sizeof line, pipe)) {
        r.report += line;
        std::string text(line, strcspn(line, "\n"));
        size_t equals = text.find('=');
        if (equals != std::string::npos && text.find(' ') > equals) r.figures[text.substr(0, equals)] = text.substr(equals + 1);
    }
    int status = pipe ? pclose(pipe) : -1;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// A saved world of one room with three faults, searched with the tool: a hole in the floor over
// nothing, a collectable sealed in rock, and a lift whose foot has lost its ramps (a model of the
// lift bottom without what reaches out of its cell) under the floor of the upper storey; and two
// descents beside it, the second with rock beyond its doorway. The tool reports each fault: runs
// out through the floor by the hole, that collectable, that lift, that descent.
TEST(WalkableMedia, TheReachToolReportsEachFaultOfACraftedWorld)
{
    NewGameOnEmptyGrid();
    for (int y = ROOM_LAYER; y <= ROOM_LAYER + 3; y++) {
        Fill(119, 131, y, 119, 131, TILE_BOUNDARY);
        Fill(120, 130, y, 120, 130, y < ROOM_LAYER + 2 ? TILE_FLOOR : TILE_EMPTY);
    }
    Put(124, ROOM_LAYER, 128, TILE_EMPTY);
    Put(122, ROOM_LAYER, 122, TILE_BOUNDARY);
    for (int tile : {TILE_LIFT_BOTTOM, TILE_LIFT_SHAFT, TILE_LIFT_TOP}) Put(128, ROOM_LAYER + tile - TILE_LIFT_BOTTOM, 128, tile);
    FileEntity(CellIndex(128, ROOM_LAYER, 128), new Entity{ENTITY_LIFT, 1280, 30, 1280, 0, 0, LIFT_SPEED, 0, 0});
    FileEntity(CellIndex(122, ROOM_LAYER, 122), new Entity{ENTITY_COLLECTABLE, 1220, 27, 1220, 0, 0, 0, 0, 0.05f});
    FileEntity(CellIndex(123, ROOM_LAYER, 125), new Entity{ENTITY_COLLECTABLE, 1230, 27, 1250, 0, 0, 0, 0, 0.05f});
    for (int z : {110, 140}) {
        Put(100, CHANNEL_LAYER, z, TILE_CHANNEL_SIDE, 0);
        Put(101, CHANNEL_LAYER, z, TILE_CHANNEL);
        ASSERT_TRUE(TryPlaceDescent(100, z));
    }
    ClearDescentMarkers();
    Put(99, CHANNEL_LAYER, 140, TILE_ROCK);
    std::string dir = EnterTempDir({"Saves"});
    SaveWorldGrid();
    SaveCoreState();
    ASSERT_EQ(RunShell(dir, "mkdir -p Media/worldtiles && ln -s " CAIRNFOLD_SOURCE_DIR "/Media/entities Media/ && "
                            "ln -s " CAIRNFOLD_SOURCE_DIR "/Media/worldtiles/*.obj Media/worldtiles/ && "
                            "rm Media/worldtiles/worldtile32.obj && awk '/^v /{n++; x[n]=$2; z[n]=$4} "
                            "/^f /{for(i=2;i<=4;i++){split($i,c,\"/\"); if(x[c[1]]*x[c[1]]>25||z[c[1]]*z[c[1]]>25) next}} "
                            "{print}' " CAIRNFOLD_SOURCE_DIR "/Media/worldtiles/worldtile32.obj > Media/worldtiles/worldtile32.obj"),
              0);
    // The cells of the room's ground floor stood on at each step, as the search of this world finds
    // them: of its 121, never the rock.
    const struct { const char* step; int roomCells; } STEPS[] = {{"0.96", 120}, {"2", 119}};
    for (const auto& [step, roomCells] : STEPS) {
        ReachRun r = RunReach(dir, std::string("--saved --step ") + step);
        EXPECT_EQ((std::vector<int>{r.status, r["collectables_within_reach"], r["collectables"], r["runs_out"] - r["runs_out_below_the_floor"],
                                    r["lifts_boarded_on_foot"], r["lifts"], r["descents_walked"], r["descents"]}),
                  (std::vector<int>{1, 1, 2, 0, 0, 1, 1, 2})) << r.report;
        EXPECT_EQ(r.CellsByLayer().at(ROOM_LAYER), roomCells) << "step " << step << "\n" << r.report;
        for (const char* fault : {"out of reach: the collectable at (1220, 27, 1220)\n", "not boarded on foot: the lift at (128, 128)\n",
                                  "descent not walked down or up: from the top at (100, 2, 140)\n"})
            EXPECT_NE(r.report.find(fault), std::string::npos) << fault;
        // Every run out went down through the hole: it last stood beside it.
        auto count = [&](const std::string& text) {
            int n = 0;
            for (size_t at = r.report.find(text); at != std::string::npos; at = r.report.find(text, at + 1)) n++;
            return n;
        };
        int besideHole = 0;
        for (int x = 123; x <= 125; x++)
            for (int z = 127; z <= 129; z++)
                besideHole += count("last stood in cell (" + std::to_string(x) + ", " + std::to_string(ROOM_LAYER) + ", " +
                                    std::to_string(z) + ")");
        EXPECT_GT(r["runs_out"], 0) << r.report;
        EXPECT_EQ((std::vector<int>{count("out of the world, below the floor: "), besideHole}),
                  (std::vector<int>{r["runs_out"], r["runs_out"]})) << r.report;
    }
    RunShell(dir, "rm -rf Media Saves");
    rmdir(dir.c_str());
}

// The reach tool's search from the start of each known-good world, over the columns around the
// start, at the game's shortest step: every collectable and lift it must reach there within
// reach and boarded on foot, every descent there walked down and up, no run out of the world, the
// cave and channel levels reached.
TEST(WalkableMedia, TheReachToolFindsCavesChannelsLiftsAndCollectablesAroundTheStartAndNoWayOut)
{
    // Seed 42's columns reach further along z: a channel through them is entered only at z 186.
    // What each must reach there (collectables, lifts, descents), and the cells it stands on by layer.
    const struct { unsigned seed; const char* region; int collectables, lifts, descents; std::vector<int> layers; } WORLDS[] = {
        {1, "101 101 149 149", 21, 11, 4, {1425, 46, 514, 2397, 1118, 1345, 1287, 1096, 916, 777, 577, 337, 105, 0, 0}},
        {42, "101 101 149 189", 85, 34, 9, {2747, 69, 1866, 4361, 1841, 2237, 2065, 1932, 1655, 1452, 1325, 768, 233, 0, 0}},
        {1733432707, "101 101 149 149", 29, 14, 4, {1649, 36, 593, 2360, 1037, 1315, 1203, 934, 804, 658, 524, 243, 78, 0, 0}},
        {3141592, "101 101 149 149", 22, 15, 5, {1380, 42, 627, 2393, 1118, 1383, 1228, 1045, 891, 690, 531, 323, 98, 0, 0}}};
    for (const auto& w : WORLDS) {
        ReachRun r = RunReach(CAIRNFOLD_SOURCE_DIR, std::to_string(w.seed) + " --region " + w.region);
        EXPECT_EQ((std::vector<int>{r.status, r["collectables_within_reach"], r["collectables"], r["runs_out"],
                                    r["lifts_boarded_on_foot"], r["lifts"], r["descents_walked"], r["descents"]}),
                  (std::vector<int>{0, w.collectables, w.collectables, 0, w.lifts, w.lifts, w.descents, w.descents}))
            << "seed " << w.seed << "\n" << r.report;
        EXPECT_EQ(r.CellsByLayer(), w.layers) << "seed " << w.seed;
    }
}
