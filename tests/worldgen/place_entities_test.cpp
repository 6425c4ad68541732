#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "grid_helpers.h"
#include "worldgen/place_entities.h"

namespace {

const int ELIGIBLE_CODES[] = {3, 4, 5, 7, 8, 9, 10, 11, 13, 16, 17, 18, 27};
const float QUARTER_TURNS[4] = {0.0f, 1.57079637f, 3.14159274f, 4.71238899f};  // radians

Entity MakeEntity(int kind, float x, float y, float z, float angle, float velocityY, float spinRate)
{
    Entity e = {};
    e.kind = kind, e.x = x, e.y = y, e.z = z, e.angle = angle, e.velocityY = velocityY, e.spinRate = spinRate;
    return e;
}

// Places the entities of a new game from srand(seed), then follows the placement rules step by step
// from the same seed, with `collectableCell` and `propCell` saying which cells qualify, and checks
// every cell's entities bit for bit and the draws taken. Returns the prop draws refused for a full cell.
int ExpectPlacement(unsigned seed, const std::function<bool(int, int, int)>& collectableCell,
                    const std::function<bool(int, int)>& propCell)
{
    srand(seed);
    PlaceEntities();
    int randAfter = rand();
    std::vector<std::vector<Entity>> cells(CELL_COUNT);
    int eligible = 0, placed = 0, refused = 0;
    for (int x = 1; x <= 248; x++)
        for (int y = 0; y <= 13; y++)
            for (int z = 1; z <= 248; z++)
                eligible += collectableCell(x, y, z);
    srand(seed);
    while (placed < COLLECTABLE_TOTAL && placed < eligible) {  // ends once every eligible cell is taken
        int x = rand() % 248 + 1, y = rand() % 14, z = rand() % 248 + 1;
        std::vector<Entity>& cell = cells[CellIndex(x, y, z)];
        if (collectableCell(x, y, z) && cell.empty()) {
            cell.push_back(MakeEntity(ENTITY_COLLECTABLE, 10.0f * x, 10.0f * y - 3.0f, 10.0f * z,
                                      (float)(rand() % 1000), 0.0f, 0.05f));
            placed++;
        }
    }
    for (int i = 0; i < CELL_COUNT; i++)  // lifts: by scan, no draws
        if (worldGrid[i].tileType == TILE_LIFT_BOTTOM && cells[i].size() < 2)
            cells[i].push_back(MakeEntity(ENTITY_LIFT, 10.0f * (i / 3750), 10.0f * (i / 250 % 15), 10.0f * (i % 250),
                                          QUARTER_TURNS[worldGrid[i].orientation], 0.075f, 0.0f));
    for (int i = 0; i < 4688; i++) {
        int x = rand() % 250, z = rand() % 250;
        std::vector<Entity>& cell = cells[CellIndex(x, 3, z)];
        if (!propCell(x, z) || (cell.size() >= 2 && ++refused))
            continue;
        int jx = rand() % 80, jz = rand() % 80, a = rand() % 360;
        cell.push_back(MakeEntity(ENTITY_PROP, (float)(10 * x - 4) + 0.1f * (float)jx, 26.0f,
                                  (float)(10 * z - 4) + 0.1f * (float)jz, (float)a * 0.0174532924f, 0.0f, 0.0f));
    }
    int next = rand(), wrong = 0;
    for (int i = 0; i < CELL_COUNT && wrong < 10; i++) {
        bool same = entityCount[i] == (int)cells[i].size();
        for (int k = 0; same && k < entityCount[i]; k++)
            same = memcmp(entitySlots[i * 2 + k], &cells[i][k], sizeof(Entity)) == 0;
        wrong += !same;
        EXPECT_TRUE(same) << "cell " << i << " holds " << (int)entityCount[i] << " entities";
    }
    EXPECT_EQ(randAfter, next) << "the draws taken";
    return refused;
}

}  // namespace

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
    for (int cell : {CellIndex(24, 3, 40), CellIndex(121, 3, 41), CellIndex(121, 4, 41), CellIndex(90, 3, 90),
                     CellIndex(90, 4, 90), CellIndex(1, 12, 248), CellIndex(1, 13, 248)})
        eligible.push_back(cell);
    for (int code = 0; code < TILE_TYPE_COUNT; code++)  // every other code is refused
        if (std::find(std::begin(ELIGIBLE_CODES), std::end(ELIGIBLE_CODES), code) == std::end(ELIGIBLE_CODES))
            Put(200, 1 + code % 12, 10 + 5 * code, code);
    Put(0, 3, 100, TILE_FLOOR), Put(249, 3, 100, TILE_FLOOR), Put(100, 3, 249, TILE_FLOOR);  // never drawn
    Put(100, 3, 0, TILE_FLOOR), Put(150, 14, 150, TILE_FLOOR);  // nor is the top layer
    Put(151, 12, 151, TILE_ROOM_TOP_DOUBLE);                     // only a plain room top lends eligibility
    Put(59, 14, 60, TILE_ROOM_TOP);  // layer 0 of the next x column has nothing below it
    Put(0, 0, 0, TILE_LIFT_BOTTOM, 3), Put(249, 14, 249, TILE_LIFT_BOTTOM, 1), Put(90, 4, 90, TILE_LIFT_BOTTOM, 2);
    std::sort(eligible.begin(), eligible.end());

    // Fewer eligible cells than collectables: placement ends when every one is taken.
    ExpectPlacement(77, [&](int x, int y, int z) {
        return std::binary_search(eligible.begin(), eligible.end(), CellIndex(x, y, z));
    }, [](int, int) { return false; });
    EXPECT_EQ(entityCount[CellIndex(7, 7, 7)], 0);
    EXPECT_EQ(entityCount[CellIndex(90, 4, 90)], 2) << "a collectable, then the lift";
    EXPECT_EQ(entitySlots[CellIndex(249, 14, 249) * 2]->angle, 1.57079637f);
}
