// Shared helpers of the world generation tests: crafting cells and checking them.
#pragma once

#include <initializer_list>

#include "support/test_support.h"
#include "world/world_grid.h"
#include "worldgen/generate_world.h"

inline int T(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)].tileType; }
inline int O(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)].orientation; }

inline void Put(int x, int y, int z, int tile, int orientation = 0)
{
    worldGrid[CellIndex(x, y, z)] = WorldCell{(uint8_t)tile, (uint8_t)orientation};
}

// Sets every cell of rows x0..x1 by columns z0..z1 on layer y.
inline void Fill(int x0, int x1, int y, int z0, int z1, int tile, int orientation = 0)
{
    for (int x = x0; x <= x1; x++)
        for (int z = z0; z <= z1; z++)
            Put(x, y, z, tile, orientation);
}

inline int CountTiles(int y, int tile)
{
    int n = 0;
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            n += T(x, y, z) == tile;
    return n;
}

// One expected cell: its tile and orientation.
struct CellWant {
    int x, y, z, tile, orientation;
};

inline void ExpectCells(std::initializer_list<CellWant> cells)
{
    for (const CellWant& c : cells) {
        EXPECT_EQ(T(c.x, c.y, c.z), c.tile) << "at " << c.x << "," << c.y << "," << c.z;
        EXPECT_EQ(O(c.x, c.y, c.z), c.orientation) << "at " << c.x << "," << c.y << "," << c.z;
    }
}
