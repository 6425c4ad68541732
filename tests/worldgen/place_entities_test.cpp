#include "support/test_support.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"
#include "worldgen/world_random.h"

static const int ELIGIBLE_CODES[] = {3, 4, 5, 7, 8, 9, 10, 11, 13, 16, 17, 18, 27};

TEST(PlaceEntities, CraftedCellsGetExactlyTheirCollectablesAndLifts)
{
    ClearEntityIndex();
    ClearWorldGrid();
    FileEntity(CellIndex(7, 7, 7), new Entity{ENTITY_PROP, 70, 70, 70, 0, 0, 0, 0, 0});  // an earlier game's
    std::vector<int> eligible;
    for (int n = 0; n < 13; n++) {
        Put(10 + 7 * n, n % 14, 30 + 5 * n, ELIGIBLE_CODES[n]);
        eligible.push_back(CellIndex(10 + 7 * n, n % 14, 30 + 5 * n));
    }
    // Above a room top any code qualifies (room tops with rock, boundary and a lift bottom above them).
    PutCells({{121, 3, 41, TILE_ROOM_TOP, 0}, {121, 4, 41, TILE_ROCK, 0}, {90, 3, 90, TILE_ROOM_TOP, 0},
              {1, 12, 248, TILE_ROOM_TOP, 0}, {1, 13, 248, TILE_BOUNDARY, 0}});
    eligible.insert(eligible.end(), {CellIndex(24, 3, 40), CellIndex(121, 3, 41), CellIndex(121, 4, 41),
                                     CellIndex(90, 3, 90), CellIndex(90, 4, 90), CellIndex(1, 12, 248), CellIndex(1, 13, 248)});
    for (int code = 0; code < TILE_TYPE_COUNT; code++)  // every other code is refused
        if (std::find(std::begin(ELIGIBLE_CODES), std::end(ELIGIBLE_CODES), code) == std::end(ELIGIBLE_CODES))
            Put(200, 1 + code % 12, 10 + 5 * code, code);
    PutCells({{0, 3, 100, TILE_FLOOR, 0}, {249, 3, 100, TILE_FLOOR, 0}, {100, 3, 249, TILE_FLOOR, 0},  // never drawn
              {100, 3, 0, TILE_FLOOR, 0}, {150, 14, 150, TILE_FLOOR, 0},  // nor is the top layer
              {151, 12, 151, TILE_ROOM_TOP_DOUBLE, 0},                    // only a plain room top lends eligibility
              {59, 14, 60, TILE_ROOM_TOP, 0},  // layer 0 of the next x column has nothing below it
              {0, 0, 0, TILE_LIFT_BOTTOM, 3}, {249, 14, 249, TILE_LIFT_BOTTOM, 1}, {90, 4, 90, TILE_LIFT_BOTTOM, 2}});
    std::sort(eligible.begin(), eligible.end());
    // Fewer eligible cells than collectables: placement ends once every one holds exactly one collectable,
    // 3 below its centre; lifts stand in the four lift-bottom cells, turned by their orientation; no props.
    SeedWorldRandom(77);
    PlaceEntities();
    std::vector<int> collectables;
    int lifts = 0, props = 0;
    for (int i = 0; i < CELL_COUNT; i++)
        for (int k = 0; k < entityCount[i]; k++) {
            const Entity& e = *EntitySlot(i, k);
            if (e.kind == ENTITY_COLLECTABLE) {
                collectables.push_back(i);
                EXPECT_EQ((Floats{e.x, e.y, e.z, e.spinRate}), (Floats{10.0f * (i / COLUMN_CELLS),
                          10.0f * (i / LAYER_CELLS % 15) - 3.0f, 10.0f * (i % LAYER_CELLS), 0.05f})) << "cell " << i;
            }
            lifts += e.kind == ENTITY_LIFT;
            props += e.kind == ENTITY_PROP;
        }
    EXPECT_EQ(collectables, eligible);
    EXPECT_EQ(lifts, 4);
    EXPECT_EQ(props, 0);
    EXPECT_EQ(entityCount[CellIndex(7, 7, 7)], 0);
    EXPECT_EQ(entityCount[CellIndex(90, 4, 90)], 2) << "a collectable, then the lift";
    EXPECT_EQ(EntitySlot(CellIndex(249, 14, 249), 0)->angle, 1.57079637f);
    EXPECT_EQ(EntitySlot(CellIndex(0, 0, 0), 0)->angle, 4.71238899f);
}
