// Entity models: one recipe per entity kind, with the origin at the entity's position.
#include "make_assets.h"

// Collectable: a six-sided gem floating 0.5 to 2.9 units above the floor
// (its origin is placed 1 unit above the floor).
static void EntityCollectable()
{
    AddPyramid(0, 0, 0.8, 6, 0.6, 1.9);
    AddPyramid(0, 0, 0.8, 6, 0.6, -0.5);
}

// Lift: a platform 8.6 units square and 0.9 thick whose deck is 4 units below
// the entity's origin. Resting at a lift bottom (origin at the cell centre)
// the deck is level with the floor, and at the top of its shaft with the
// floor of the room's top storey, so a player walks on and off; on its way it
// passes level with each storey's floor.
static void EntityLift() { AddBox(-4.3, 4.3, -4.9, -4, -4.3, 4.3); }

// Prop: a banded barrel standing on its origin, within 1 unit of its axis so
// that any turn keeps it inside its cell.
static void EntityProp()
{
    AddPrism(0, 0, 0.9, 8, 0, 0.9);
    AddPrism(0, 0, 1.0, 8, 0.9, 1.3);
    AddPrism(0, 0, 0.9, 8, 1.3, 2.2);
}

// Keyed by the game's entity kinds; each name goes into the first line of its model's file.
constexpr ModelRecipe ENTITY_RECIPES[ENTITY_KIND_COUNT] = {
    {ENTITY_COLLECTABLE, EntityCollectable, "collectable gem"},
    {ENTITY_LIFT, EntityLift, "lift platform"},
    {ENTITY_PROP, EntityProp, "prop barrel"},
};
static_assert(HoldsEachCodeOnce(ENTITY_RECIPES, ENTITY_KIND_COUNT),
              "ENTITY_RECIPES needs exactly one recipe for each entity kind 0..ENTITY_KIND_COUNT-1, in kind order");
