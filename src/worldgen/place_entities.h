// Entity placement: the collectables, lifts and props of a new game, filed in the entity index.
#pragma once

constexpr int COLLECTABLE_TOTAL = 1000;      // collectables placed for a new game
constexpr int PROP_ATTEMPTS = 4688;          // random layer-3 cells tried for a prop
constexpr float COLLECTABLE_SPIN_RATE = 0.05f;  // angle increase per time unit of a collectable
constexpr float LIFT_SPEED = 0.075f;         // starting vertical speed of a lift
constexpr float PROP_HEIGHT = 26.0f;         // world y of every prop, 4 units below the centre of a layer-3 cell

// True when a collectable may stand in cell (x, y, z) by its tile (the cell's
// entity count is checked separately): one of the open or wall codes, or any
// cell directly above a room top.
bool CollectableMayStand(int x, int y, int z);

// Empties the entity index (deleting the old records) and places the entities
// of a new game from the current grid: collectables at random eligible cells,
// one lift on every lift bottom, props on random wall cells of layer 3.
// Uses WorldRandom() in a fixed order, so the same seed and grid give the same result.
void PlaceEntities();
