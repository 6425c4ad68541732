#include "world/world_grid.h"
#include "support/test_support.h"

TEST(WorldGrid, WorldPositionsFallInTheCellWhoseCentreIsNearest)
{
    const struct { float at; int cell; } cases[] = {{1250.0f, 125}, {30.0f, 3}, {14.9f, 1}, {4.9f, 0},
                                                    {15.0f, 2}, {5.0f, 1}, {0.0f, 0}, {2494.9f, 249}};
    for (const auto& c : cases) EXPECT_EQ(PlayerCell(c.at), c.cell) << c.at;
}

TEST(WorldGrid, EntitiesAreFiledInOrderAndRemovalClosesTheGap)
{
    EXPECT_EQ(std::vector<bool>(entityKindIsSolid, entityKindIsSolid + ENTITY_KIND_COUNT), (std::vector<bool>{false, true, true}));
    int cell = CellIndex(10, 3, 20);
    Entity* first = new Entity{ENTITY_LIFT, 100, 30, 200, 0, 0, 0.075f, 0, 0};
    Entity* second = new Entity{ENTITY_PROP, 101, 30, 201, 0, 0, 0, 0, 0};
    FileEntity(cell, first);
    FileEntity(cell, second);
    EXPECT_EQ(entityCount[cell], 2);
    EXPECT_EQ((std::vector<Entity*>{EntitySlot(cell, 0), EntitySlot(cell, 1)}), (std::vector<Entity*>{first, second}));
    RemoveEntitySlot(cell, 0);
    EXPECT_EQ(entityCount[cell], 1);
    EXPECT_EQ(EntitySlot(cell, 0), second);
    delete first;
    RemoveEntitySlot(cell, 0);
    EXPECT_EQ(entityCount[cell], 0);
    FileEntity(cell, second);
    ClearEntityIndex();
    EXPECT_EQ(entityCount[cell], 0);
    EXPECT_EQ(EntitySlot(cell, 0), nullptr);
}
