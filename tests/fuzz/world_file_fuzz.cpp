// Feeds arbitrary bytes to the world-file reader: a file it takes leaves only
// tile codes and orientations in range; one it refuses changes nothing.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include "world/saves.h"
#include "world/world_grid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static WorldCell before[CELL_COUNT];
    memcpy(before, worldGrid, sizeof worldGrid);
    bool taken = ReadWorldFile(data, size);
    if (!taken && memcmp(before, worldGrid, sizeof worldGrid) != 0) abort();
    if (taken && size != (size_t)WORLD_FILE_SIZE) abort();
    for (int i = 0; taken && i < CELL_COUNT; i++)
        if (worldGrid[i].tileType >= TILE_TYPE_COUNT || worldGrid[i].orientation >= ORIENTATION_COUNT) abort();
    return 0;
}
