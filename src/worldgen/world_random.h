// The random source of world generation and entity placement: one sequence, the same on every system.
#pragma once

#include <cstdint>

constexpr int32_t WORLD_RANDOM_MAX = 2147483647;  // largest value WorldRandom gives (31 bits)

// Starts the sequence anew from seed, as the GNU C library's srand does (seed 0 acts as 1).
void SeedWorldRandom(unsigned seed);

// The next value of the sequence, 0..WORLD_RANDOM_MAX: after SeedWorldRandom(s) the values are
// exactly those the GNU C library's rand() gives after srand(s) (its additive feedback generator
// of degree 31), whatever the C library of the system the game runs on. Unseeded, it starts as
// from seed 1.
int WorldRandom();
