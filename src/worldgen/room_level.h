// Room level pass: rooms, thick walls, rock and thin walls of layer 3 (with rock below on layer 2).
#pragma once

#include <cstdint>

#include "world/world_grid.h"

constexpr int COARSE_SIZE = 50;   // coarse map cells per side
constexpr int COARSE_SCALE = 5;   // grid cells per coarse cell per side
constexpr int ROOM_COUNT = 47;
constexpr int COARSE_WALL_ATTEMPTS = 250;
constexpr int THIN_WALL_ATTEMPTS = 5313;

// Lays out layer 3 (and the rock below it on layer 2) on a cleared grid.
void GenerateRoomLevel();
