#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "world/world_grid.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"

namespace {

void ClearWorld()
{
    ClearEntityIndex();
    memset(worldGrid, 0, sizeof worldGrid);
}

void SetTile(int x, int y, int z, int tile, int orientation = 0)
{
    worldGrid[CellIndex(x, y, z)].tileType = (uint8_t)tile;
    worldGrid[CellIndex(x, y, z)].orientation = (uint8_t)orientation;
}

Entity MakeEntity(int kind, float x, float y, float z, float angle, float velocityY, float spinRate)
{
    Entity e = {};
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.z = z;
    e.angle = angle;
    e.velocityY = velocityY;
    e.spinRate = spinRate;
    return e;
}

// What a new game should hold, built by following the draw order of the
// placement rules with the test's own description of which cells qualify.
struct Expected {
    std::vector<std::vector<Entity>> cells = std::vector<std::vector<Entity>>(CELL_COUNT);
    int collectables = 0;
    int props = 0;
    int propsRefusedForRoom = 0;  // wall cells drawn while already holding two entities
    int randAfter = 0;            // the next rand() value after all placement draws
};

// Follows the collectable and prop draws from srand(seed). `collectableCell`
// and `propCell` say by position alone which cells qualify; `collectableCells`
// is how many reachable cells qualify for a collectable.
Expected Simulate(unsigned seed, const std::function<bool(int, int, int)>& collectableCell, int collectableCells,
                  const std::function<bool(int, int)>& propCell)
{
    Expected out;
    srand(seed);
    int target = collectableCells < COLLECTABLE_TOTAL ? collectableCells : COLLECTABLE_TOTAL;
    while (out.collectables < target) {
        int x = rand() % 248 + 1;
        int y = rand() % 14;
        int z = rand() % 248 + 1;
        std::vector<Entity>& cell = out.cells[CellIndex(x, y, z)];
        if (!collectableCell(x, y, z) || !cell.empty())
            continue;
        float angle = (float)(rand() % 1000);
        cell.push_back(MakeEntity(ENTITY_COLLECTABLE, 10.0f * x, 10.0f * y - 3.0f, 10.0f * z, angle, 0.0f, 0.05f));
        out.collectables++;
    }
    for (int i = 0; i < 4688; i++) {
        int x = rand() % 250;
        int z = rand() % 250;
        std::vector<Entity>& cell = out.cells[CellIndex(x, 3, z)];
        if (!propCell(x, z))
            continue;
        if (cell.size() >= 2) {
            out.propsRefusedForRoom++;
            continue;
        }
        int jx = rand() % 80;
        int jz = rand() % 80;
        int a = rand() % 360;
        float px = (float)(10 * x - 4) + 0.1f * (float)jx;
        float pz = (float)(10 * z - 4) + 0.1f * (float)jz;
        cell.push_back(MakeEntity(ENTITY_PROP, px, 26.0f, pz, (float)a * 0.0174532924f, 0.0f, 0.0f));
        out.props++;
    }
    out.randAfter = rand();
    return out;
}

void ExpectSameEntity(const Entity& actual, const Entity& expected, int cell, int slot)
{
    SCOPED_TRACE(testing::Message() << "cell " << cell << " slot " << slot);
    EXPECT_EQ(actual.kind, expected.kind);
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.z, expected.z);
    EXPECT_EQ(actual.angle, expected.angle);
    EXPECT_EQ(actual.velocityX, 0.0f);
    EXPECT_EQ(actual.velocityY, expected.velocityY);
    EXPECT_EQ(actual.velocityZ, 0.0f);
    EXPECT_EQ(actual.spinRate, expected.spinRate);
}

// Compares the whole entity index with the expectation, slot by slot; a lift
// bottom holds one lift after the expected entities.
void ExpectIndexMatches(const Expected& expected)
{
    int mismatches = 0;
    for (int i = 0; i < CELL_COUNT && mismatches < 10; i++) {
        int lift = worldGrid[i].tileType == TILE_LIFT_BOTTOM ? 1 : 0;
        if (entityCount[i] != (int)expected.cells[i].size() + lift) {
            ADD_FAILURE() << "cell " << i << " holds " << (int)entityCount[i] << " entities";
            mismatches++;
            continue;
        }
        for (int k = 0; k < (int)expected.cells[i].size(); k++)
            ExpectSameEntity(*entitySlots[i * 2 + k], expected.cells[i][k], i, k);
        if (lift) {
            EXPECT_EQ(entitySlots[i * 2 + entityCount[i] - 1]->kind, ENTITY_LIFT);
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

TEST(PlaceEntities, OnlyEligibleCellsReceiveCollectables)
{
    ClearWorld();
    struct Cell {
        int x, y, z;
    };
    const int eligibleCodes[] = {3, 4, 5, 7, 8, 9, 10, 11, 13, 16, 17, 18, 27};
    std::vector<Cell> eligible;
    int n = 0;
    for (int code : eligibleCodes) {
        Cell c = {10 + 7 * n, n % 14, 30 + 5 * n};  // layers 0 to 12
        SetTile(c.x, c.y, c.z, code);
        eligible.push_back(c);
        if (code == TILE_ROOM_TOP)
            eligible.push_back({c.x, c.y + 1, c.z});
        n++;
    }
    // Any cell directly above a room top qualifies, whatever its own code.
    SetTile(120, 6, 40, TILE_ROOM_TOP);
    eligible.push_back({120, 6, 40});
    eligible.push_back({120, 7, 40});
    SetTile(121, 3, 41, TILE_ROOM_TOP);
    SetTile(121, 4, 41, TILE_ROCK);
    eligible.push_back({121, 3, 41});
    eligible.push_back({121, 4, 41});
    SetTile(1, 12, 248, TILE_ROOM_TOP);
    SetTile(1, 13, 248, TILE_BOUNDARY);
    eligible.push_back({1, 12, 248});
    eligible.push_back({1, 13, 248});

    // Every other code is refused.
    n = 0;
    for (int code = 0; code < TILE_TYPE_COUNT; code++) {
        bool listed = false;
        for (int e : eligibleCodes)
            listed = listed || e == code;
        if (!listed)
            SetTile(200, 1 + n % 12, 10 + 5 * n, code);
        n++;
    }
    // Unreachable cells: the outer ring and the top layer, even with eligible codes.
    SetTile(0, 3, 100, TILE_FLOOR);
    SetTile(249, 3, 100, TILE_FLOOR);
    SetTile(100, 3, 0, TILE_FLOOR);
    SetTile(100, 3, 249, TILE_FLOOR);
    SetTile(150, 14, 150, TILE_FLOOR);
    // Only a plain room top lends eligibility to the cell above it.
    SetTile(151, 12, 151, TILE_ROOM_TOP_DOUBLE);
    // A layer-0 cell has no cell below it: the room top at the top of the
    // previous x column must not make it eligible.
    SetTile(59, 14, 60, TILE_ROOM_TOP);

    srand(77);
    PlaceEntities();

    int collectables = 0;
    for (int i = 0; i < CELL_COUNT; i++)
        for (int k = 0; k < entityCount[i]; k++)
            collectables += entitySlots[i * 2 + k]->kind == ENTITY_COLLECTABLE;
    EXPECT_EQ(collectables, (int)eligible.size());

    for (const Cell& c : eligible) {
        int i = CellIndex(c.x, c.y, c.z);
        SCOPED_TRACE(testing::Message() << "cell " << c.x << "," << c.y << "," << c.z);
        ASSERT_EQ(entityCount[i], 1);
        const Entity& e = *entitySlots[i * 2];
        EXPECT_EQ(e.kind, ENTITY_COLLECTABLE);
        EXPECT_EQ(e.x, 10.0f * c.x);
        EXPECT_EQ(e.y, 10.0f * c.y - 3.0f);
        EXPECT_EQ(e.z, 10.0f * c.z);
        EXPECT_EQ(e.spinRate, 0.05f);
        EXPECT_EQ(e.angle, (float)(int)e.angle);
        EXPECT_GE(e.angle, 0.0f);
        EXPECT_LE(e.angle, 999.0f);
    }
    EXPECT_EQ(entityCount[CellIndex(60, 0, 60)], 0);
}

TEST(PlaceEntities, EveryLiftBottomGetsOneLiftAndLiftsTakeNoDraws)
{
    ClearWorld();
    // Records left from an earlier game are cleared first.
    FileEntity(CellIndex(7, 7, 7), new Entity{ENTITY_PROP, 70, 70, 70, 0, 0, 0, 0, 0});
    FileEntity(CellIndex(7, 7, 7), new Entity{ENTITY_PROP, 71, 70, 70, 0, 0, 0, 0, 0});
    FileEntity(CellIndex(10, 3, 20), new Entity{ENTITY_COLLECTABLE, 100, 27, 200, 0, 0, 0, 0, 0.05f});

    SetTile(10, 3, 20, TILE_LIFT_BOTTOM, 0);
    SetTile(10, 3, 21, TILE_LIFT_BOTTOM, 1);
    SetTile(200, 3, 5, TILE_LIFT_BOTTOM, 2);
    SetTile(5, 9, 200, TILE_LIFT_BOTTOM, 3);
    SetTile(0, 0, 0, TILE_LIFT_BOTTOM, 0);
    SetTile(249, 14, 249, TILE_LIFT_BOTTOM, 1);
    SetTile(60, 5, 60, TILE_LIFT_SHAFT);
    SetTile(60, 6, 60, TILE_LIFT_TOP);
    // A lift bottom on a room top also qualifies for a collectable, which is
    // placed first; the lift takes the second slot.
    SetTile(90, 3, 90, TILE_ROOM_TOP);
    SetTile(90, 4, 90, TILE_LIFT_BOTTOM, 2);

    srand(5);
    PlaceEntities();
    int randAfter = rand();

    struct Lift {
        int x, y, z, slot;
        float angle;
    };
    const Lift lifts[] = {
        {0, 0, 0, 0, 0.0f},
        {5, 9, 200, 0, 4.71238899f},
        {10, 3, 20, 0, 0.0f},
        {10, 3, 21, 0, 1.57079637f},
        {90, 4, 90, 1, 3.14159274f},
        {200, 3, 5, 0, 3.14159274f},
        {249, 14, 249, 0, 1.57079637f},
    };
    for (const Lift& l : lifts) {
        int i = CellIndex(l.x, l.y, l.z);
        ASSERT_EQ(entityCount[i], l.slot + 1);
        ExpectSameEntity(*entitySlots[i * 2 + l.slot],
                         MakeEntity(ENTITY_LIFT, 10.0f * l.x, 10.0f * l.y, 10.0f * l.z, l.angle, 0.075f, 0.0f), i,
                         l.slot);
    }
    EXPECT_EQ(entitySlots[CellIndex(90, 4, 90) * 2]->kind, ENTITY_COLLECTABLE);
    EXPECT_EQ(entitySlots[CellIndex(90, 3, 90) * 2]->kind, ENTITY_COLLECTABLE);
    EXPECT_EQ(entityCount[CellIndex(7, 7, 7)], 0);
    EXPECT_EQ(entitySlots[CellIndex(7, 7, 7) * 2], nullptr);
    EXPECT_EQ(entitySlots[CellIndex(7, 7, 7) * 2 + 1], nullptr);
    EXPECT_EQ(TotalEntities(), 7 + 2);

    // Same grid without the lifts: the rand() sequence ends in the same place.
    for (const Lift& l : lifts)
        SetTile(l.x, l.y, l.z, TILE_EMPTY);
    SetTile(90, 4, 90, TILE_EMPTY);
    srand(5);
    PlaceEntities();
    EXPECT_EQ(rand(), randAfter);
    EXPECT_EQ(TotalEntities(), 2);
}

TEST(PlaceEntities, PropsStandOnlyOnWallCellsOfLayerThreeAtMostTwoPerCell)
{
    ClearWorld();
    // Layer 3 in diagonal stripes: walls (which also take collectables),
    // prop ground, and corner floors that take neither. Walls and prop ground
    // on the layers above and below never get props.
    const int stripe[3] = {TILE_WALL, TILE_PROP_GROUND, TILE_CORNER_FLOOR};
    for (int x = 0; x < 250; x++)
        for (int z = 0; z < 250; z++) {
            SetTile(x, 3, z, stripe[(x + z) % 3]);
            SetTile(x, 2, z, TILE_PROP_GROUND);
            SetTile(x, 4, z, TILE_PROP_GROUND);
        }
    int wallCells = 0;
    for (int x = 1; x <= 248; x++)
        for (int z = 1; z <= 248; z++)
            wallCells += (x + z) % 3 == 0;

    srand(99);
    PlaceEntities();
    int randAfter = rand();

    Expected expected = Simulate(
        99, [](int x, int y, int z) { return y == 3 && (x + z) % 3 == 0; }, wallCells,
        [](int x, int z) { return (x + z) % 3 != 2; });
    ExpectIndexMatches(expected);
    EXPECT_EQ(randAfter, expected.randAfter);
    EXPECT_EQ(expected.collectables, 1000);
    EXPECT_EQ(TotalEntities(), 1000 + expected.props);
    EXPECT_GT(expected.propsRefusedForRoom, 0) << "the seed should draw some full cell again";

    int collectableWithProp = 0, twoProps = 0;
    for (int x = 0; x < 250; x++)
        for (int y = 0; y < 15; y++)
            for (int z = 0; z < 250; z++) {
                int i = CellIndex(x, y, z);
                ASSERT_LE(entityCount[i], 2);
                for (int k = 0; k < entityCount[i]; k++) {
                    const Entity& e = *entitySlots[i * 2 + k];
                    if (e.kind != ENTITY_PROP)
                        continue;
                    ASSERT_EQ(y, 3);
                    ASSERT_NE(worldGrid[i].tileType, TILE_CORNER_FLOOR);
                    // Within -4 .. +3.9 of the cell centre, so in the cell it is filed in.
                    EXPECT_EQ(WorldToCell(e.y), 3);
                    EXPECT_EQ(WorldToCell(e.x), x);
                    EXPECT_EQ(WorldToCell(e.z), z);
                }
                if (entityCount[i] == 2) {
                    int kinds = entitySlots[i * 2]->kind * 10 + entitySlots[i * 2 + 1]->kind;
                    collectableWithProp += kinds == 2;
                    twoProps += kinds == 22;
                }
            }
    EXPECT_GT(collectableWithProp, 0);
    EXPECT_GT(twoProps, 0);
}

TEST(PlaceEntities, GeneratedWorldGetsTheFullPlacement)
{
    ClearWorld();
    srand(31);
    GenerateWorld();

    const int eligibleCodes[] = {3, 4, 5, 7, 8, 9, 10, 11, 13, 16, 17, 18, 27};
    auto collectableCell = [&](int x, int y, int z) {
        int tile = worldGrid[CellIndex(x, y, z)].tileType;
        for (int code : eligibleCodes)
            if (tile == code)
                return true;
        return y > 0 && worldGrid[CellIndex(x, y - 1, z)].tileType == TILE_ROOM_TOP;
    };
    int eligible = 0;
    for (int x = 1; x <= 248; x++)
        for (int y = 0; y <= 13; y++)
            for (int z = 1; z <= 248; z++)
                eligible += collectableCell(x, y, z);
    // Far more cells qualify than there are collectables, so the attempt
    // guard never comes into play on a generated world.
    EXPECT_GT(eligible, 10 * COLLECTABLE_TOTAL);

    srand(8);
    PlaceEntities();
    int randAfter = rand();
    Expected expected = Simulate(8, collectableCell, eligible, [](int x, int z) {
        int tile = worldGrid[CellIndex(x, 3, z)].tileType;
        return tile == TILE_WALL || tile == TILE_PROP_GROUND;
    });

    int lifts = 0;
    for (int i = 0; i < CELL_COUNT; i++)
        lifts += worldGrid[i].tileType == TILE_LIFT_BOTTOM;
    ExpectIndexMatches(expected);
    EXPECT_EQ(randAfter, expected.randAfter);
    EXPECT_GT(expected.props, 0);
    EXPECT_EQ(TotalEntities(), 1000 + lifts + expected.props);
}
