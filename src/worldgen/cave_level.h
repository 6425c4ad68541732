// Cave level pass: descents from the channel sides down to layer 0, and the cave they lead into.
#pragma once

#include <cstdint>

#include "world/world_grid.h"

constexpr int DESCENT_ATTEMPTS = 3750;
constexpr int CAVE_WALL_LINE_ITERATIONS = 4688;
constexpr int CAVE_WALL_LINE_MAX_CELLS = 6;  // cells a wall line empties besides its centre
// Along its run from the top (0), the cells of a descent: the ramp on layer 1, the ramp on layer
// 0, the entrance, and the cave floor before it.
constexpr int DESCENT_UPPER_RAMP = 2, DESCENT_LOWER_RAMP = 5, DESCENT_ENTRANCE = 7, DESCENT_FRONT = 8;

// Reach marks of the cave pass, one byte per (x, z) of layer 0 at ColumnIndex(x, z): 1 where an
// entrance reaches the cell. Scratch for the pass; meaningful only right after MarkCaveReach.
extern uint8_t caveReached[COLUMN_COUNT];

// Builds the cave level: its steps in order, with the flood-fill reach.
void GenerateCaveLevel();

// One descent attempt at the channel-side cell (x, 2, z), x and z in 10..239: places the
// descent when the channel side's run is clear and reports whether it did. No draws.
bool TryPlaceDescent(int x, int z);

// Every empty layer-0 cell becomes cave floor (tile byte only).
void FillCaveFloor();

// Every layer-0 descent marker (code 1) becomes empty again (tile byte only).
void ClearDescentMarkers();

// Marks in caveReached every entrance and every cave-floor cell (x, z in 1..248) joined to one
// by 4-connected cave-floor cells; a queue-based flood fill, linear in the layer.
void MarkCaveReach();

// Every unmarked layer-0 cell except the ramps becomes empty (tile byte only).
void PruneUnreachedCave();
