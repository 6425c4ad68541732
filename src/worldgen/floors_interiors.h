// Floors and interiors pass: floor pieces on layer 3, room heights and the columns above them.
#pragma once

#include <cstdint>

#include "world/world_grid.h"

constexpr int MIN_ROOM_HEIGHT = 3;

// Closes the room level with floors and builds the room interiors above them.
void GenerateFloorsAndInteriors();
