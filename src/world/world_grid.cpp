#include "world/world_grid.h"

WorldCell worldGrid[CELL_COUNT];
int8_t entityCount[CELL_COUNT];
Entity* entitySlots[CELL_COUNT * MAX_ENTITIES_PER_CELL];
const bool entityKindIsSolid[ENTITY_KIND_COUNT] = {false, true, true};

void FileEntity(int cellIndex, Entity* entity)
{
    entitySlots[cellIndex * 2 + entityCount[cellIndex]] = entity;
    entityCount[cellIndex]++;
}

void RemoveEntitySlot(int cellIndex, int slot)
{
    int count = entityCount[cellIndex];
    for (int k = slot; k + 1 < count; k++)
        entitySlots[cellIndex * 2 + k] = entitySlots[cellIndex * 2 + k + 1];
    entitySlots[cellIndex * 2 + count - 1] = nullptr;
    entityCount[cellIndex] = (int8_t)(count - 1);
}

void ClearEntityIndex()
{
    for (int i = 0; i < CELL_COUNT; i++) {
        for (int k = 0; k < entityCount[i]; k++)
            delete entitySlots[i * 2 + k];
        entityCount[i] = 0;
        entitySlots[i * 2] = nullptr;
        entitySlots[i * 2 + 1] = nullptr;
    }
}
