// Cave level pass: descents from the channel sides down to layer 0, and the cave they lead into.
#pragma once

#include <cstdint>

#include "world/world_grid.h"

constexpr int DESCENT_ATTEMPTS = 3750;
constexpr int CAVE_WALL_LINE_ITERATIONS = 4688;
constexpr int CAVE_WALL_LINE_MAX_CELLS = 6;  // cells a wall line empties besides its centre
// Run direction of a descent for the channel side's orientation o: side o, where o turns the
// base model's -x side. Names for the grid's side table, not tables of their own.
constexpr const int (&DESCENT_RUN_DX)[ORIENTATION_COUNT] = SIDE_DX;
constexpr const int (&DESCENT_RUN_DZ)[ORIENTATION_COUNT] = SIDE_DZ;
// Along its run from the top (0), the cells of a descent: the ramp on layer 1, the ramp on layer
// 0, the entrance, and the cave floor before it.
constexpr int DESCENT_UPPER_RAMP = 2, DESCENT_LOWER_RAMP = 5, DESCENT_ENTRANCE = 7, DESCENT_FRONT = 8;

// Reach marks of the cave pass, one byte per (x, z) of layer 0 at ColumnIndex(x, z): 1 where an
// entrance reaches the cell. Scratch for the pass; meaningful only right after MarkCaveReach.
extern uint8_t caveReached[COLUMN_COUNT];

// Builds the cave level: every step below, in order, with the flood-fill reach.
void GenerateCaveLevel();

// One descent attempt at the channel-side cell (x, 2, z), x and z in 10..239: places the
// descent when the channel side's run is clear and reports whether it did. No draws.
bool TryPlaceDescent(int x, int z);

// The 3750 descent attempts, each drawing x then z in 10..239.
void PlaceDescents();

// Every empty layer-0 cell becomes cave floor (tile byte only).
void FillCaveFloor();

// Every layer-0 descent marker (code 1) becomes empty again (tile byte only).
void ClearDescentMarkers();

// One wall line through the open cell (x, 0, z), x and z in 1..248: along x when alongX, else
// along z. Needs the centre and its two neighbours across the line open; then draws whether the
// centre is emptied and empties up to 6 open cells, first toward the low side, then the high side.
void CutCaveWallLine(int x, int z, bool alongX);

// The 4688 wall-line iterations, each a line along x then a line along z at drawn cells.
void CutCaveWallLines();

// The cell each entrance faces becomes cave floor (tile byte only).
void ReopenEntranceFronts();

// Every layer-0 cell with x or z in 0..2 or 247..249 becomes empty (tile byte only).
void ClearCaveBorder();

// Marks in caveReached every entrance and every cave-floor cell (x, z in 1..248) joined to one
// by 4-connected cave-floor cells; a queue-based flood fill, linear in the layer.
void MarkCaveReach();

// Every unmarked layer-0 cell except the ramps becomes empty (tile byte only).
void PruneUnreachedCave();

// Turns the empty cells (x, z in 1..248) beside open cave cells into walls, partitions and blocks.
void ClassifyCaveWalls();

// In scan order, turns every open cell (x, z in 1..248) whose eight neighbours are open at that
// moment into an open centre.
void MarkOpenCentres();
