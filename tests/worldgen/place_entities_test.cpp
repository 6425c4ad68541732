#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "grid_helpers.h"
#include "worldgen/place_entities.h"

namespace {

const int ELIGIBLE_CODES[] = {3, 4, 5, 7, 8, 9, 10, 11, 13, 16, 17, 18, 27};

Entity MakeEntity(int kind, float x, float y, float z, float angle, float velocityY, float spinRate)
{
    Entity e = {};
    e.kind = kind, e.x = x, e.y = y, e.z = z, e.angle = angle, e.velocityY = velocityY, e.spinRate = spinRate;
    return e;
}

// The collectables and props of a new game, per cell in filing order, found by following the
// placement draws from srand(seed) with the test's own rules for which cells qualify.
struct Expected {
    std::vector<std::vector<Entity>> cells = std::vector<std::vector<Entity>>(CELL_COUNT);
    int props = 0;
    int refusedFull = 0;  // prop draws on a qualifying cell that already held two entities
    int randAfter = 0;    // the rand() value after all placement draws
};

Expected Simulate(unsigned seed, const std::function<bool(int, int, int)>& collectableCell,
                  const std::function<bool(int, int)>& propCell)
{
    Expected out;
    srand(seed);
    for (int placed = 0; placed < COLLECTABLE_TOTAL;) {
        int x = rand() % 248 + 1, y = rand() % 14, z = rand() % 248 + 1;
        std::vector<Entity>& cell = out.cells[CellIndex(x, y, z)];
        if (!collectableCell(x, y, z) || !cell.empty())
            continue;
        cell.push_back(MakeEntity(ENTITY_COLLECTABLE, 10.0f * x, 10.0f * y - 3.0f, 10.0f * z, (float)(rand() % 1000),
                                  0.0f, 0.05f));
        placed++;
    }
    for (int i = 0; i < 4688; i++) {
        int x = rand() % 250, z = rand() % 250;
        std::vector<Entity>& cell = out.cells[CellIndex(x, 3, z)];
        if (!propCell(x, z) || (cell.size() >= 2 && ++out.refusedFull))
            continue;
        int jx = rand() % 80, jz = rand() % 80, a = rand() % 360;
        cell.push_back(MakeEntity(ENTITY_PROP, (float)(10 * x - 4) + 0.1f * (float)jx, 26.0f,
                                  (float)(10 * z - 4) + 0.1f * (float)jz, (float)a * 0.0174532924f, 0.0f, 0.0f));
        out.props++;
    }
    out.randAfter = rand();
    return out;
}

// Every cell holds exactly the expected entities, bit for bit, then one lift if it is a lift bottom.
void ExpectIndexMatches(const Expected& expected)
{
    for (int i = 0; i < CELL_COUNT; i++) {
        const std::vector<Entity>& want = expected.cells[i];
        int lift = worldGrid[i].tileType == TILE_LIFT_BOTTOM;
        ASSERT_EQ(entityCount[i], (int)want.size() + lift) << "cell " << i;
        for (size_t k = 0; k < want.size(); k++)
            ASSERT_EQ(memcmp(entitySlots[i * 2 + k], &want[k], sizeof(Entity)), 0) << "cell " << i << " slot " << k;
        if (lift) {
            ASSERT_EQ(entitySlots[i * 2 + want.size()]->kind, ENTITY_LIFT) << "cell " << i;
        }
    }
}

int TotalEntities()
{
    int total = 0;
    for (int i = 0; i < CELL_COUNT; i++)
        total += entityCount[i];
    return total;
}

}  // namespace

TEST(PlaceEntities, CollectablesGoOnlyToEligibleCellsAndStopWhenNoneIsLeft)
{
    ClearEntityIndex();
    ClearWorldGrid();
    struct Cell { int x, y, z; };
    std::vector<Cell> eligible;
    int n = 0;
    for (int code : ELIGIBLE_CODES) {
        Put(10 + 7 * n, n % 14, 30 + 5 * n, code);
        eligible.push_back({10 + 7 * n, n % 14, 30 + 5 * n});
        if (code == TILE_ROOM_TOP)  // the cell above a room top qualifies, whatever its own code
            eligible.push_back({10 + 7 * n, n % 14 + 1, 30 + 5 * n});
        n++;
    }
    Put(121, 3, 41, TILE_ROOM_TOP);
    Put(121, 4, 41, TILE_ROCK);
    Put(1, 12, 248, TILE_ROOM_TOP);
    Put(1, 13, 248, TILE_BOUNDARY);
    for (const Cell& c : {Cell{121, 3, 41}, Cell{121, 4, 41}, Cell{1, 12, 248}, Cell{1, 13, 248}})
        eligible.push_back(c);
    for (int code = 0; code < TILE_TYPE_COUNT; code++)  // every other code is refused
        if (std::find(std::begin(ELIGIBLE_CODES), std::end(ELIGIBLE_CODES), code) == std::end(ELIGIBLE_CODES))
            Put(200, 1 + code % 12, 10 + 5 * code, code);
    for (const Cell& c : {Cell{0, 3, 100}, Cell{249, 3, 100}, Cell{100, 3, 0}, Cell{100, 3, 249}, Cell{150, 14, 150}})
        Put(c.x, c.y, c.z, TILE_FLOOR);  // never drawn: the outer ring and the top layer
    Put(151, 12, 151, TILE_ROOM_TOP_DOUBLE);  // only a plain room top lends eligibility
    Put(59, 14, 60, TILE_ROOM_TOP);           // layer 0 of the next x column has nothing below it

    // Fewer eligible cells than collectables: the placement ends when every one is taken.
    srand(77);
    PlaceEntities();
    EXPECT_EQ(TotalEntities(), (int)eligible.size() + 1) << "and a lift on the refused lift bottom";
    for (const Cell& c : eligible) {
        int i = CellIndex(c.x, c.y, c.z);
        ASSERT_EQ(entityCount[i], 1) << c.x << "," << c.y << "," << c.z;
        const Entity& e = *entitySlots[i * 2];
        EXPECT_TRUE(e.kind == ENTITY_COLLECTABLE && e.x == 10.0f * c.x && e.y == 10.0f * c.y - 3.0f &&
                    e.z == 10.0f * c.z && e.spinRate == 0.05f && e.angle == (float)(int)e.angle && e.angle >= 0.0f &&
                    e.angle <= 999.0f && e.velocityY == 0.0f)
            << c.x << "," << c.y << "," << c.z;
    }
}

TEST(PlaceEntities, EveryLiftBottomGetsOneLiftAndLiftsTakeNoDraws)
{
    ClearEntityIndex();
    ClearWorldGrid();
    FileEntity(CellIndex(7, 7, 7), new Entity{ENTITY_PROP, 70, 70, 70, 0, 0, 0, 0, 0});  // an earlier game's
    FileEntity(CellIndex(10, 3, 20), new Entity{ENTITY_COLLECTABLE, 100, 27, 200, 0, 0, 0, 0, 0.05f});
    struct Lift { int x, y, z, o, slot; float angle; };
    const Lift lifts[] = {{0, 0, 0, 0, 0, 0.0f},          {5, 9, 200, 3, 0, 4.71238899f}, {10, 3, 20, 0, 0, 0.0f},
                          {10, 3, 21, 1, 0, 1.57079637f}, {200, 3, 5, 2, 0, 3.14159274f}, {249, 14, 249, 1, 0, 1.57079637f},
                          {90, 4, 90, 2, 1, 3.14159274f}};  // above a room top: a collectable comes first
    for (const Lift& l : lifts)
        Put(l.x, l.y, l.z, TILE_LIFT_BOTTOM, l.o);
    Put(60, 5, 60, TILE_LIFT_SHAFT);
    Put(60, 6, 60, TILE_LIFT_TOP);
    Put(90, 3, 90, TILE_ROOM_TOP);
    srand(5);
    PlaceEntities();
    int randAfter = rand();
    for (const Lift& l : lifts) {
        int i = CellIndex(l.x, l.y, l.z);
        ASSERT_EQ(entityCount[i], l.slot + 1);
        Entity want = MakeEntity(ENTITY_LIFT, 10.0f * l.x, 10.0f * l.y, 10.0f * l.z, l.angle, 0.075f, 0.0f);
        EXPECT_EQ(memcmp(entitySlots[i * 2 + l.slot], &want, sizeof want), 0) << l.x << "," << l.y << "," << l.z;
    }
    EXPECT_EQ(entitySlots[CellIndex(90, 4, 90) * 2]->kind, ENTITY_COLLECTABLE);
    EXPECT_EQ(entityCount[CellIndex(7, 7, 7)], 0);
    EXPECT_EQ(TotalEntities(), 7 + 2);  // the room top and the cell above it hold a collectable each

    // Without the lifts the draws end in the same place.
    for (const Lift& l : lifts)
        Put(l.x, l.y, l.z, TILE_EMPTY);
    srand(5);
    PlaceEntities();
    EXPECT_EQ(rand(), randAfter);
}

TEST(PlaceEntities, EveryEntityFollowsItsDrawsOnStripedAndGeneratedWorlds)
{
    // Layer 3 in diagonal stripes of walls (which also take collectables), prop ground and corner
    // floors that take neither; prop ground on layers 2 and 4 never gets props.
    ClearEntityIndex();
    ClearWorldGrid();
    const int stripe[3] = {TILE_WALL, TILE_PROP_GROUND, TILE_CORNER_FLOOR};
    for (int x = 0; x < 250; x++)
        for (int z = 0; z < 250; z++)
            Put(x, 3, z, stripe[(x + z) % 3]);
    Fill(0, 249, 2, 0, 249, TILE_PROP_GROUND);
    Fill(0, 249, 4, 0, 249, TILE_PROP_GROUND);
    srand(99);
    PlaceEntities();
    int randAfter = rand();
    Expected striped = Simulate(99, [](int x, int y, int z) { return y == 3 && (x + z) % 3 == 0; },
                                [](int x, int z) { return (x + z) % 3 != 2; });
    ExpectIndexMatches(striped);
    EXPECT_EQ(randAfter, striped.randAfter);
    EXPECT_EQ(TotalEntities(), 1000 + striped.props);
    EXPECT_GT(striped.refusedFull, 0) << "the seed must draw a full cell again";

    srand(31);
    GenerateWorld();
    srand(8);
    PlaceEntities();
    randAfter = rand();
    Expected generated = Simulate(
        8,
        [](int x, int y, int z) {
            int tile = T(x, y, z);
            return std::find(std::begin(ELIGIBLE_CODES), std::end(ELIGIBLE_CODES), tile) != std::end(ELIGIBLE_CODES) ||
                   (y > 0 && T(x, y - 1, z) == TILE_ROOM_TOP);
        },
        [](int x, int z) { return T(x, 3, z) == TILE_WALL || T(x, 3, z) == TILE_PROP_GROUND; });
    ExpectIndexMatches(generated);
    EXPECT_EQ(randAfter, generated.randAfter);
    EXPECT_EQ(TotalEntities(), 1000 + CountTiles(3, TILE_LIFT_BOTTOM) + generated.props);
    EXPECT_GT(generated.props, 0);
}
