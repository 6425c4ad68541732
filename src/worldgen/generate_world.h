// World generation driver: clears the grid and runs the generation passes in their fixed order.
#pragma once

// One generation pass: works on worldGrid in place, drawing from WorldRandom().
typedef void (*GenerationPass)();

// The passes in the order GenerateWorld runs them after clearing the grid; each
// reads what the ones before it wrote, so the order is fixed.
extern const GenerationPass GENERATION_PASSES[];
extern const int GENERATION_PASS_COUNT;

// Builds a new world in worldGrid from the current state of WorldRandom().
void GenerateWorld();

// Sets both bytes of every cell to 0.
void ClearWorldGrid();
