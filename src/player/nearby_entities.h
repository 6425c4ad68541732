// Nearby entities: the collectables, lifts and props in the cube of cells around the player come alive.
#pragma once

#include "world/mathlib.h"

constexpr float PICKUP_RADIUS = 3.25f;  // a collectable nearer than this to the player's feet is taken
constexpr float LIFT_CLEARANCE = 4.5f;  // a descending lift waits while the player is farther than this below it

// Whether a collectable at `collectable` is too far from the player's feet at `feet` to be taken.
bool OutOfPickupReach(const Vec3& collectable, const Vec3& feet);

// For the cube of cells within viewDistance of gameState.cell: collectables
// spin and are taken (each one counted and saved at once), lifts move, wait
// for the player in their column and turn at the ends of their shaft.
void UpdateNearbyEntities(float dt);

// Files every entity of the same cube in the cell that holds its position,
// when that cell is on the grid and has room; otherwise it stays where it is.
void RefileNearbyEntities();
