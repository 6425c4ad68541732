// Whole worlds against known-good ones: for three seeds, the WorldRandom() draws a first start takes
// (generation, then placement) and the SHA-256 of both files it writes.
#include "player/game_state.h"
#include "support/test_support.h"
#include "world/saves.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"
#include "worldgen/world_random.h"

// The value WorldRandom() gives after `draws` draws since SeedWorldRandom(seed).
static int DrawAfter(unsigned seed, int draws)
{
    SeedWorldRandom(seed);
    for (int i = 0; i < draws; i++) WorldRandom();
    return WorldRandom();
}

TEST(GoldenWorlds, GenerationPlacementAndBothFilesMatchTheKnownGoodWorlds)
{
    const struct { unsigned seed; int draws; const char *worldSha, *coreSha; } worlds[] = {
        {1, 1637856, "84c2bfdc977b17ba19ed30a2bddec63edc275262740da916a3195616907e2274",
         "4f008de74d837c31e50b72a6bdffbb181d46d31f89250f36b8f5b008d6596fc9"},
        {42, 1638868, "b13071ec2d0795f8a8050edc09827b040d69985861a0b7149a1fa0f7d87718cb",
         "90645276a3bcb8ae6354ede079bbb30b3369d99265b2d3adc0cf10116793e8ff"},
        {1733432707, 1637910, "ef02dedfeb0091fe824fdba6ef520389945e569cfc2b4f0987156c530227b15d",
         "e9b560deee542ab87f150a7372e02f4c9dc71033f1d0c2f2e267536a03a69d6b"},
    };
    EnterTempDir({"Saves"});
    for (const auto& w : worlds) {
        SCOPED_TRACE(w.seed);
        // A first start: the whole world, a new game, both files.
        SeedWorldRandom(w.seed);
        GenerateWorld();
        ClearEntityIndex();
        ResetGameState();
        PlaceEntities();
        int next = WorldRandom();
        EXPECT_EQ(next, DrawAfter(w.seed, w.draws)) << "draws of generation and placement";
        SaveWorldGrid();
        SaveCoreState();
        EXPECT_EQ(Sha256Hex(ReadFileBytes(WORLD_SAVE_PATH)), w.worldSha);
        EXPECT_EQ(Sha256Hex(ReadFileBytes(CORE_SAVE_PATH)), w.coreSha);
    }
}
