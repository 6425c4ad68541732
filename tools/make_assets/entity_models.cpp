// Entity models: one recipe per entity kind, with the origin at the entity's position.
#include "make_assets.h"

// Collectable: a six-sided gem floating 0.5 to 2.9 units above the floor
// (its origin is placed 1 unit above the floor).
static void EntityCollectable()
{
    AddPyramid(0, 0, 0.8, 6, 0.6, 1.9);
    AddPyramid(0, 0, 0.8, 6, 0.6, -0.5);
}

// Lift: an 8 x 8 platform, 1 unit thick, whose underside is the entity's
// origin, so that it rests on the lift pad at the cell centre and a waiting
// lift hangs exactly a player's height above the player's feet.
static void EntityLift() { AddBox(-4, 4, 0, 1, -4, 4); }

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
