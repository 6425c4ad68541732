// Game state: the one record of everything kept about the player between frames and runs.
#pragma once

#include <cstdint>

#include "world/mathlib.h"

struct CellCoord {
    int32_t x, y, z;
};

// Fields are in the order the core save file stores them.
struct GameState {
    int32_t viewDistance;       // half-size in cells of the drawn and updated cube, 1..20
    bool texturesEnabled;       // the renderer textures the world
    bool flyMode;               // free flight: no gravity, no collision
    int32_t collectablesFound;  // collectables taken so far, out of 1000
    Vec3 position;              // the player's feet, world units
    Vec3 velocity;              // world units per time unit
    bool onGround;              // the last collision lifted the player
    bool jumping;               // a jump is rising and the jump key is held
    CellCoord cell;             // the grid cell holding position
    Vec3 eye;                   // the camera position
    float pitch;                // radians within -pi/2..pi/2, positive looks up
    float yaw;                  // radians, forward is (cos yaw, 0, sin yaw)
    float roll;                 // radians, only stored and applied by the camera
};

constexpr int VIEW_DISTANCE_MIN = 1;
constexpr int VIEW_DISTANCE_MAX = 20;
constexpr int NEW_GAME_VIEW_DISTANCE = 10;  // the view distance of a new game, and at program start
constexpr float EYE_HEIGHT = 3.8f;
constexpr Vec3 NEW_GAME_POSITION = {1250.0f, 30.0f, 1250.0f};  // where a new game puts the player's feet (and eye)
constexpr CellCoord NEW_GAME_CELL = {125, 3, 125};             // the cell holding NEW_GAME_POSITION

extern GameState gameState;  // the player; program start: view distance 10, textures on, rest 0

// Sets every field to its new-game value: at NEW_GAME_POSITION in NEW_GAME_CELL.
void ResetGameState();
