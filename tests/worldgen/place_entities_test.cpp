#include "support/test_support.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"

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
    Put(121, 3, 41, TILE_ROOM_TOP), Put(121, 4, 41, TILE_ROCK), Put(90, 3, 90, TILE_ROOM_TOP);
    Put(1, 12, 248, TILE_ROOM_TOP), Put(1, 13, 248, TILE_BOUNDARY);
    eligible.insert(eligible.end(), {CellIndex(24, 3, 40), CellIndex(121, 3, 41), CellIndex(121, 4, 41),
                                     CellIndex(90, 3, 90), CellIndex(90, 4, 90), CellIndex(1, 12, 248), CellIndex(1, 13, 248)});
    for (int code = 0; code < TILE_TYPE_COUNT; code++)  // every other code is refused
        if (std::find(std::begin(ELIGIBLE_CODES), std::end(ELIGIBLE_CODES), code) == std::end(ELIGIBLE_CODES))
            Put(200, 1 + code % 12, 10 + 5 * code, code);
    Put(0, 3, 100, TILE_FLOOR), Put(249, 3, 100, TILE_FLOOR), Put(100, 3, 249, TILE_FLOOR);  // never drawn
    Put(100, 3, 0, TILE_FLOOR), Put(150, 14, 150, TILE_FLOOR);  // nor is the top layer
    Put(151, 12, 151, TILE_ROOM_TOP_DOUBLE);                     // only a plain room top lends eligibility
    Put(59, 14, 60, TILE_ROOM_TOP);  // layer 0 of the next x column has nothing below it
    Put(0, 0, 0, TILE_LIFT_BOTTOM, 3), Put(249, 14, 249, TILE_LIFT_BOTTOM, 1), Put(90, 4, 90, TILE_LIFT_BOTTOM, 2);
    std::sort(eligible.begin(), eligible.end());
    // Fewer eligible cells than collectables: placement ends once every one holds exactly one collectable,
    // 3 below its centre; lifts stand in the four lift-bottom cells, turned by their orientation; no props.
    srand(77);
    PlaceEntities();
    std::vector<int> collectables;
    int lifts = 0, props = 0;
    for (int i = 0; i < CELL_COUNT; i++)
        for (int k = 0; k < entityCount[i]; k++) {
            const Entity& e = *entitySlots[i * 2 + k];
            if (e.kind == ENTITY_COLLECTABLE) {
                collectables.push_back(i);
                EXPECT_TRUE(e.x == 10.0f * (i / COLUMN_CELLS) && e.y == 10.0f * (i / LAYER_CELLS % 15) - 3.0f &&
                            e.z == 10.0f * (i % LAYER_CELLS) && e.spinRate == 0.05f) << i;
            }
            lifts += e.kind == ENTITY_LIFT, props += e.kind == ENTITY_PROP;
        }
    EXPECT_EQ(collectables, eligible);
    EXPECT_TRUE(lifts == 4 && props == 0) << lifts << " " << props;
    EXPECT_EQ(entityCount[CellIndex(7, 7, 7)], 0);
    EXPECT_EQ(entityCount[CellIndex(90, 4, 90)], 2) << "a collectable, then the lift";
    EXPECT_EQ(entitySlots[CellIndex(249, 14, 249) * 2]->angle, 1.57079637f);
    EXPECT_EQ(entitySlots[CellIndex(0, 0, 0) * 2]->angle, 4.71238899f);
}
