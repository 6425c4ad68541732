// World generation driver: clears the grid and runs the generation passes in their fixed order.
#pragma once

// Builds a new world in worldGrid from the current state of rand().
void GenerateWorld();

// Sets both bytes of every cell to 0.
void ClearWorldGrid();
