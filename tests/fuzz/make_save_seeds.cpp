// Writes Saves/worldgrid.dat and Saves/coresave.dat of the world of a known
// seed into the current folder: real files for the save-file fuzz targets.
#include <cstdlib>
#include "player/game_state.h"
#include "world/saves.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"
#include "worldgen/world_random.h"

int main(int argc, char** argv)
{
    SeedWorldRandom(argc > 1 ? (unsigned)atoi(argv[1]) : 1u);
    GenerateWorld();
    ResetGameState();
    PlaceEntities();
    SaveWorldGrid();
    SaveCoreState();
    return 0;
}
