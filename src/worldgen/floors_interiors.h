// Floors and interiors pass: floor pieces on layer 3, room heights and the columns above them.
#pragma once

#include <cstdint>

#include "world/world_grid.h"

constexpr int MIN_ROOM_HEIGHT = 3;

// Room heights by cell [x][z]: 0 = no floor, 1 = floor without a height yet, 3..9 = height.
typedef int32_t HeightMap[GRID_SIZE_X][GRID_SIZE_Z];

// Closes the room level with floors and builds the room interiors above them.
void GenerateFloorsAndInteriors();

// The steps of GenerateFloorsAndInteriors in the order it runs them.

// Every empty layer-3 cell becomes plain floor.
void LayFloors();
// Chooses wall-side, thick-wall-side and corner pieces for the plain floor cells.
void ChooseFloorPieces();
// Marks every floor cell of layer 3 with 1 and every other cell with 0.
void MarkFloorCells(HeightMap heightMap);
// Gives each stretch of floor a random height (one draw per cell found at 1).
void AssignRoomHeights(HeightMap heightMap);
// Stacks the interior pieces above every floor cell up to its height.
void BuildInteriors(const HeightMap heightMap);
