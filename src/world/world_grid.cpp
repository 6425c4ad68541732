#include "world/world_grid.h"

WorldCell worldGrid[CELL_COUNT];
int8_t entityCount[CELL_COUNT];
Entity* entitySlots[CELL_COUNT * MAX_ENTITIES_PER_CELL];
const bool entityKindIsSolid[ENTITY_KIND_COUNT] = {false, true, true};

void FileEntity(int cellIndex, Entity* entity)
{
    EntitySlot(cellIndex, entityCount[cellIndex]) = entity;
    entityCount[cellIndex]++;
}

void RemoveEntitySlot(int cellIndex, int slot)
{
    int count = entityCount[cellIndex];
    for (int k = slot; k + 1 < count; k++)
        EntitySlot(cellIndex, k) = EntitySlot(cellIndex, k + 1);
    EntitySlot(cellIndex, count - 1) = nullptr;
    entityCount[cellIndex] = (int8_t)(count - 1);
}

void ClearEntityIndex()
{
    for (int i = 0; i < CELL_COUNT; i++) {
        for (int k = 0; k < entityCount[i]; k++)
            delete EntitySlot(i, k);
        entityCount[i] = 0;
        for (int k = 0; k < MAX_ENTITIES_PER_CELL; k++)
            EntitySlot(i, k) = nullptr;
    }
}
