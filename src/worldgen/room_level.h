// Room level pass: rooms, thick walls, rock and thin walls of layer 3 (with rock below on layer 2).
#pragma once

#include <cstdint>

#include "world/world_grid.h"

constexpr int COARSE_SIZE = 50;   // coarse map cells per side
constexpr int COARSE_SCALE = 5;   // grid cells per coarse cell per side
constexpr int ROOM_COUNT = 47;
constexpr int COARSE_WALL_ATTEMPTS = 250;
constexpr int THIN_WALL_ATTEMPTS = 5313;

// A 50 x 50 coarse map indexed [i][j], i along x and j along z: 1 = solid, 0 = open.
typedef uint8_t CoarseMap[COARSE_SIZE][COARSE_SIZE];

// Lays out layer 3 (and the rock below it on layer 2) on a cleared grid.
void GenerateRoomLevel();

// The steps of GenerateRoomLevel in the order it runs them; each works on the grid
// in place and can be run alone on a crafted grid.

// Opens the coarse rectangle ci - hi .. ci + hi by cj - hj .. cj + hj.
void CarveRoom(CoarseMap roomMap, int ci, int cj, int hi, int hj);
// Fills roomMap with 1 and carves the 47 random rooms.
void CarveRooms(CoarseMap roomMap);
// Tries a coarse wall line through (i, j) running along i (alongI) or along j: it needs the
// cell and its two neighbours across the line open, and runs from solid to solid.
void TryCoarseWall(CoarseMap wallMap, int i, int j, bool alongI);
// Draws the 250 pairs of random coarse wall lines into wallMap.
void DrawCoarseWalls(CoarseMap wallMap);
// Writes wall core where wallMap is solid, then rock where roomMap is solid.
void ScaleCoarseMaps(const CoarseMap roomMap, const CoarseMap wallMap);
// Turns core and rock cells that touch anything else into wall skin.
void AddWallSkins();
// Points each skin cell at its wall core neighbour.
void OrientWallSkins();
// Turns skin cells between two perpendicular core neighbours into wall corners.
void MarkConcaveCorners();
// Copies layer-3 rock down to layer 2.
void PutRockBelowRock();
// Continues the faces of convex rock corners across the rooms as thin walls.
void DrawRockCornerWalls(const CoarseMap roomMap);
// One thin wall line on layer 3 from start cell (x, z) toward (dx, dz); the start is left alone.
void DrawThinWallLine(int x, int z, int dx, int dz);
// Tries to draw a thin wall through (x, z) running along z (alongZ) or along x.
void TryRandomThinWall(int x, int z, bool alongZ);
// The 5313 pairs of random thin wall attempts.
void DrawRandomThinWalls();
