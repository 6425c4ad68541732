// Feeds arbitrary bytes to the core-file reader: a file it takes leaves a sound entity index
// (counts 0..2, known kinds); one it refuses changes nothing. ASan sees any record freed twice.
#include <cstdint>
#include <cstdlib>
#include "player/game_state.h"
#include "world/saves.h"
#include "world/world_grid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int32_t foundBefore = gameState.collectablesFound, viewBefore = gameState.viewDistance;
    int entitiesBefore = 0;
    for (int i = 0; i < CELL_COUNT; i++) entitiesBefore += entityCount[i];
    bool taken = ReadCoreFile(data, size);
    int entities = 0;
    for (int i = 0; i < CELL_COUNT; i++) {
        if (entityCount[i] < 0 || entityCount[i] > MAX_ENTITIES_PER_CELL) abort();
        for (int k = 0; k < entityCount[i]; k++) {
            const Entity* e = entitySlots[i * MAX_ENTITIES_PER_CELL + k];
            if (!e || e->kind < 0 || e->kind >= ENTITY_KIND_COUNT) abort();
        }
        entities += entityCount[i];
    }
    if (!taken && (entities != entitiesBefore || gameState.collectablesFound != foundBefore ||
                   gameState.viewDistance != viewBefore))
        abort();
    if (taken && size != CORE_HEADER_SIZE + (size_t)CELL_COUNT + (size_t)ENTITY_RECORD_SIZE * entities) abort();
    return 0;
}
