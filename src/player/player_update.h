// Player update: one frame of the player: the number keys, mouse look, walking, jumping, free flight and collision.
#pragma once

#include "world/mathlib.h"

// Rates and accelerations per time unit (1/60 s at the nominal frame rate).
constexpr float MOUSE_YAW_RATE = 0.05f;       // yaw turn with the pointer at the left or right window edge
constexpr float MOUSE_PITCH_RATE = 0.04f;     // pitch turn with the pointer at the top or bottom edge
constexpr float PITCH_LIMIT = HALF_PI;        // straight up or down
constexpr float MOVE_THRESHOLD = 0.1f;        // the movement keys' magnitude must exceed this
constexpr float WALK_ACCELERATION = 0.04f;
constexpr float FLY_THRUST = 0.2f;            // acceleration along the view in free flight
constexpr float GROUND_GRAVITY = 0.01f;       // while standing
constexpr float AIR_GRAVITY = 0.035f;         // while falling
constexpr float JUMP_SPEED = 0.65f;           // upward speed a jump starts with
constexpr float JUMP_GRAVITY_BASE = 0.03f;    // while jumping gravity is base - factor x velocity.y
constexpr float JUMP_GRAVITY_FACTOR = 0.08f;
constexpr float JUMP_MIN_SPEED = 0.1f;        // a held jump rises while velocity.y exceeds this
constexpr float GROUND_TOLERANCE = 0.001f;    // how far collision must lift the player to count as standing
constexpr float HORIZONTAL_DAMPING = 0.1f;    // fraction of x and z velocity lost
constexpr float VERTICAL_DAMPING_WALK = 0.04f;
constexpr float VERTICAL_DAMPING_FLY = 0.1f;

// Adds `amount` along the view direction (yaw and pitch) to the velocity.
void ApplyThrust(float amount);

// Advances the player and the entities near them by dt time units (0.2..2.0).
void UpdateGame(float dt);
