#include <gtest/gtest.h>

#include "world/world_grid.h"

TEST(WorldGrid, StartsEmptyAndIndexesXSlowestZFastest)
{
    for (int i = 0; i < CELL_COUNT; i++) {
        ASSERT_EQ(worldGrid[i].tileType, TILE_EMPTY);
        ASSERT_EQ(worldGrid[i].orientation, 0);
        ASSERT_EQ(entityCount[i], 0);
    }
    EXPECT_EQ(sizeof worldGrid, 1875000u);
    EXPECT_EQ(CellIndex(249, 14, 249), 937499);
    EXPECT_EQ(CellIndex(1, 0, 0), 3750);
    EXPECT_EQ(CellIndex(0, 1, 0), 250);
    EXPECT_EQ(CellIndex(0, 0, 1), 1);
}

TEST(WorldGrid, WorldPositionsFallInTheCellWhoseCentreIsNearest)
{
    EXPECT_EQ(WorldToCell(1250.0f), 125);
    EXPECT_EQ(WorldToCell(30.0f), 3);
    EXPECT_EQ(WorldToCell(14.9f), 1);
    EXPECT_EQ(WorldToCell(4.9f), 0);
    EXPECT_EQ(WorldToCell(15.0f), 2);
    EXPECT_EQ(WorldToCell(5.0f), 1);
    EXPECT_EQ(WorldToCell(0.0f), 0);
    EXPECT_EQ(WorldToCell(2494.9f), 249);
}

TEST(WorldGrid, EntitiesAreFiledInOrderAndRemovalClosesTheGap)
{
    EXPECT_FALSE(entityKindIsSolid[ENTITY_COLLECTABLE]);
    EXPECT_TRUE(entityKindIsSolid[ENTITY_LIFT]);
    EXPECT_TRUE(entityKindIsSolid[ENTITY_PROP]);
    EXPECT_EQ(sizeof(Entity), 36u);

    int cell = CellIndex(10, 3, 20);
    Entity* first = new Entity{ENTITY_LIFT, 100, 30, 200, 0, 0, 0.075f, 0, 0};
    Entity* second = new Entity{ENTITY_PROP, 101, 30, 201, 0, 0, 0, 0, 0};
    FileEntity(cell, first);
    FileEntity(cell, second);
    EXPECT_EQ(entityCount[cell], 2);
    EXPECT_EQ(entitySlots[cell * 2], first);
    EXPECT_EQ(entitySlots[cell * 2 + 1], second);

    RemoveEntitySlot(cell, 0);
    EXPECT_EQ(entityCount[cell], 1);
    EXPECT_EQ(entitySlots[cell * 2], second);
    delete first;

    RemoveEntitySlot(cell, 0);
    EXPECT_EQ(entityCount[cell], 0);
    FileEntity(cell, second);
    ClearEntityIndex();
    EXPECT_EQ(entityCount[cell], 0);
    EXPECT_EQ(entitySlots[cell * 2], nullptr);
}
