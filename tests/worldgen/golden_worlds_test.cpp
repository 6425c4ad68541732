// Whole worlds against known-good ones: for three seeds, each pass's rand() draws and the CRC-32
// of the tile and orientation planes after it, then the SHA-256 of both files a first start writes.
#include <zlib.h>

#include "player/game_state.h"
#include "support/test_support.h"
#include "world/saves.h"
#include "world/world_grid.h"
#include "worldgen/bridges.h"
#include "worldgen/cave_level.h"
#include "worldgen/channels.h"
#include "worldgen/edge_features_lifts.h"
#include "worldgen/finishing_details.h"
#include "worldgen/floors_interiors.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"
#include "worldgen/room_level.h"

struct PassWant {
    int draws;
    unsigned tileCrc, orientCrc;
};
struct WorldWant {
    unsigned seed;
    PassWant passes[7];
    int placementDraws, lifts, props;
    const char* worldSha;
    const char* coreSha;
};

static const struct { const char* name; void (*run)(); } PASSES[7] = {
    {"GenerateRoomLevel", GenerateRoomLevel}, {"GenerateChannels", GenerateChannels},
    {"GenerateFloorsAndInteriors", GenerateFloorsAndInteriors}, {"GenerateCaveLevel", GenerateCaveLevel},
    {"GenerateBridges", GenerateBridges}, {"GenerateEdgeFeaturesAndLifts", GenerateEdgeFeaturesAndLifts},
    {"GenerateFinishingDetails", GenerateFinishingDetails}};

static const WorldWant WORLDS[] = {
    {1,
     {{22440, 0x5eff6d3d, 0x7429dd94}, {12640, 0x0c4a41b4, 0xf34609b1}, {463, 0xc1d2d0c5, 0xa8e971c2},
      {30894, 0x829c654d, 0xb000665a}, {306250, 0x696ccaf2, 0x0819127a}, {5062, 0x03d11ec6, 0xf3b6391e},
      {1217952, 0xdd8a5445, 0x61363c19}},
     42155, 463, 572, "84c2bfdc977b17ba19ed30a2bddec63edc275262740da916a3195616907e2274",
     "4f008de74d837c31e50b72a6bdffbb181d46d31f89250f36b8f5b008d6596fc9"},
    {42,
     {{22440, 0x96aae336, 0x440d0ff6}, {12657, 0xaac29e75, 0xd2c52077}, {461, 0xc73b268f, 0x6e8faa01},
      {30885, 0x3d99374e, 0xf9797cf2}, {306250, 0x02320e4e, 0xacea7dac}, {5023, 0xae6d4f4b, 0xab83fb5b},
      {1218172, 0xb4633c5f, 0xcc221786}},
     42980, 461, 602, "b13071ec2d0795f8a8050edc09827b040d69985861a0b7149a1fa0f7d87718cb",
     "90645276a3bcb8ae6354ede079bbb30b3369d99265b2d3adc0cf10116793e8ff"},
    {1733432707,
     {{22440, 0xed541770, 0x029f935e}, {12662, 0x8776b60c, 0x1c91e909}, {499, 0x163e7b21, 0x9ab7641e},
      {30789, 0xbb906024, 0xf4652ec4}, {306250, 0x09b14e71, 0xbb8ad9f3}, {5450, 0xfa3dfef5, 0x99393ad6},
      {1218841, 0xb5e13f12, 0xd183fc11}},
     40979, 499, 663, "ef02dedfeb0091fe824fdba6ef520389945e569cfc2b4f0987156c530227b15d",
     "e9b560deee542ab87f150a7372e02f4c9dc71033f1d0c2f2e267536a03a69d6b"},
};

// CRC-32 of one plane of the grid (0 tiles, 1 orientations) in file order.
static unsigned PlaneCrc(int plane)
{
    std::vector<unsigned char> bytes(CELL_COUNT);
    for (int i = 0; i < CELL_COUNT; i++) bytes[i] = plane == 0 ? worldGrid[i].tileType : worldGrid[i].orientation;
    return (unsigned)crc32(0L, bytes.data(), (uInt)bytes.size());
}

static std::string Sha256(const std::string& path)
{
    char digest[65] = {};
    FILE* pipe = popen(("sha256sum " + path).c_str(), "r");
    if (pipe) {
        if (fread(digest, 1, 64, pipe) != 64) digest[0] = 0;
        pclose(pipe);
    }
    return digest;
}

// The value rand() gives after `draws` draws since srand(seed).
static int DrawAfter(unsigned seed, int draws)
{
    srand(seed);
    for (int i = 0; i < draws; i++) rand();
    return rand();
}

TEST(GoldenWorlds, EveryPassAndBothFilesMatchTheKnownGoodWorlds)
{
    EnterTempDir({"Saves"});
    for (const WorldWant& w : WORLDS) {
        // Pass k runs after passes 0..k-1 from the seed; the next draw tells how many it took.
        int drawn = 0;
        for (int k = 0; k < 7; k++) {
            srand(w.seed);
            ClearWorldGrid();
            for (int j = 0; j <= k; j++) PASSES[j].run();
            int next = rand();
            drawn += w.passes[k].draws;
            ASSERT_EQ(next, DrawAfter(w.seed, drawn)) << "seed " << w.seed << ": draws of " << PASSES[k].name;
            ASSERT_EQ(PlaneCrc(0), w.passes[k].tileCrc) << "seed " << w.seed << ": tiles after " << PASSES[k].name;
            ASSERT_EQ(PlaneCrc(1), w.passes[k].orientCrc) << "seed " << w.seed << ": orientations after "
                                                           << PASSES[k].name;
        }
        // A first start: the whole world, a new game, both files.
        srand(w.seed);
        GenerateWorld();
        ClearEntityIndex();
        ResetGameState();
        PlaceEntities();
        int next = rand();
        EXPECT_EQ(next, DrawAfter(w.seed, drawn + w.placementDraws)) << "seed " << w.seed << ": placement draws";
        int kinds[3] = {0, 0, 0};
        for (int i = 0; i < CELL_COUNT; i++)
            for (int s = 0; s < entityCount[i]; s++) kinds[entitySlots[2 * i + s]->kind]++;
        EXPECT_EQ(kinds[ENTITY_COLLECTABLE], COLLECTABLE_TOTAL) << w.seed;
        EXPECT_EQ(kinds[ENTITY_LIFT], w.lifts) << w.seed;
        EXPECT_EQ(kinds[ENTITY_PROP], w.props) << w.seed;
        SaveWorldGrid();
        SaveCoreState();
        EXPECT_EQ(Sha256(WORLD_SAVE_PATH), w.worldSha) << "seed " << w.seed;
        EXPECT_EQ(Sha256(CORE_SAVE_PATH), w.coreSha) << "seed " << w.seed;
    }
}
