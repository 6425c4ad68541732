// Nearby entities: the collectables, lifts and props in the cube of cells around the player come alive.
#pragma once

constexpr float PICKUP_RADIUS = 3.25f;  // a collectable nearer than this to the player's feet is taken
constexpr float LIFT_CLEARANCE = 4.5f;  // a descending lift waits while the player is farther than this below it

// For the cube of cells within viewDistance of gameState.cell: collectables
// spin and are taken (each one counted and saved at once), lifts move, wait
// for the player in their column and turn at the ends of their shaft.
void UpdateNearbyEntities(float dt);

// Files every entity of the same cube in the cell that holds its position,
// when that cell is on the grid and has room; otherwise it stays where it is.
void RefileNearbyEntities();
