#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "world/world_grid.h"
#include "worldgen/generate_world.h"

// Facts every generated world holds whatever its seed, checked over many seeds.

namespace {

const unsigned SEEDS[] = {1, 2, 3, 42, 1733432707, 20261206, 65535, 987654321, 31337, 7};

int T(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)].tileType; }
int O(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)].orientation; }

bool IsFloor(int t)
{
    return t == TILE_CORNER_FLOOR || t == TILE_WALL_FLOOR || t == TILE_THICK_WALL_FLOOR ||
           t == TILE_EDGE_FEATURE || t == TILE_FLOOR || t == TILE_LIFT_BOTTOM;
}

bool IsOpenCave(int t) { return t == TILE_CAVE_FLOOR || t == TILE_CAVE_OPEN_CENTRE; }

void Generate(unsigned seed)
{
    srand(seed);
    GenerateWorld();
}

}  // namespace

TEST(WorldInvariants, BoundaryClosesTheWorldAndCodeOneIsNowhereElse)
{
    for (unsigned seed : SEEDS) {
        Generate(seed);
        for (int x = 0; x < GRID_SIZE_X; x++)
            for (int y = 0; y < GRID_LAYERS; y++)
                for (int z = 0; z < GRID_SIZE_Z; z++) {
                    bool outer = x == 0 || x == 249 || z == 0 || z == 249 || y == 14;
                    if (outer) {
                        ASSERT_EQ(T(x, y, z), TILE_BOUNDARY) << seed << ": " << x << "," << y << "," << z;
                        ASSERT_EQ(O(x, y, z), 0) << seed << ": " << x << "," << y << "," << z;
                    } else {
                        ASSERT_NE(T(x, y, z), TILE_BOUNDARY) << seed << ": " << x << "," << y << "," << z;
                    }
                }
    }
}

TEST(WorldInvariants, RoomLevelHasNoRockAndEveryOutletStandsOverAChannelHead)
{
    for (unsigned seed : SEEDS) {
        Generate(seed);
        int outlets = 0;
        for (int x = 1; x < 249; x++)
            for (int z = 1; z < 249; z++) {
                ASSERT_NE(T(x, 3, z), TILE_ROCK) << seed << ": " << x << "," << z;
                if (T(x, 3, z) == TILE_WALL_OUTLET) {
                    outlets++;
                    ASSERT_EQ(T(x, 2, z), TILE_CHANNEL_HEAD) << seed << ": " << x << "," << z;
                }
            }
        EXPECT_GT(outlets, 0) << seed;
    }
}

TEST(WorldInvariants, EveryFloorCellCarriesARoomThreeToNineCellsHigh)
{
    for (unsigned seed : SEEDS) {
        Generate(seed);
        int plainFloors = 0;
        for (int x = 1; x < 249; x++)
            for (int z = 1; z < 249; z++) {
                int f = T(x, 3, z);
                if (!IsFloor(f))
                    continue;
                // Layer 4 always holds the room's lowest interior cell (heights of 3 or more), and
                // nothing of the room reaches layer 12 (heights of 9 or less).
                int first = T(x, 4, z);
                ASSERT_NE(first, TILE_EMPTY) << seed << ": " << x << "," << z << " floor " << f;
                ASSERT_EQ(T(x, 12, z), TILE_EMPTY) << seed << ": " << x << "," << z;
                ASSERT_EQ(T(x, 13, z), TILE_EMPTY) << seed << ": " << x << "," << z;
                if (f == TILE_CORNER_FLOOR) {
                    ASSERT_EQ(first, TILE_CORNER_COLUMN);
                } else if (f == TILE_WALL_FLOOR) {
                    ASSERT_EQ(first, TILE_WALL_COLUMN);
                } else if (f == TILE_THICK_WALL_FLOOR) {
                    ASSERT_TRUE(first == TILE_THICK_WALL_COLUMN || first == TILE_WALL_COLUMN);
                } else if (f == TILE_LIFT_BOTTOM) {
                    ASSERT_TRUE(first == TILE_LIFT_SHAFT || first == TILE_LIFT_TOP);
                }
                if (f != TILE_FLOOR)
                    continue;
                // A plain floor: floor cells from layer 4, then its top (a room top, a double
                // top, or the empty cell a neighbouring double top took in) on layer 2 + h; above
                // it only a bridge from a taller room may pass.
                plainFloors++;
                int y = 4;
                while (T(x, y, z) == TILE_FLOOR)
                    y++;
                int h = y - 2;
                ASSERT_GE(h, 3) << seed << ": " << x << "," << z;
                ASSERT_LE(h, 9) << seed << ": " << x << "," << z;
                int top = T(x, y, z);
                ASSERT_TRUE(top == TILE_ROOM_TOP || top == TILE_ROOM_TOP_DOUBLE || top == TILE_EMPTY)
                    << seed << ": " << x << "," << y << "," << z << " holds " << top;
                for (int k = y + 1; k < 14; k++) {
                    int t = T(x, k, z);
                    ASSERT_TRUE(t == TILE_EMPTY || t == TILE_BRIDGE_SPAN || t == TILE_BRIDGE_SHORT)
                        << seed << ": " << x << "," << k << "," << z << " holds " << t;
                }
            }
        EXPECT_GT(plainFloors, 1000) << seed;
    }
}

TEST(WorldInvariants, EveryOpenCaveCellIsReachedFromAnEntranceAndNoneLiesOnTheBorder)
{
    std::vector<uint8_t> reached(GRID_SIZE_X * GRID_SIZE_Z);
    std::vector<int> queue;
    for (unsigned seed : SEEDS) {
        Generate(seed);
        std::fill(reached.begin(), reached.end(), 0);
        queue.clear();
        int entrances = 0;
        for (int x = 0; x < GRID_SIZE_X; x++)
            for (int z = 0; z < GRID_SIZE_Z; z++)
                if (T(x, 0, z) == TILE_CAVE_ENTRANCE) {
                    entrances++;
                    reached[x * GRID_SIZE_Z + z] = 1;
                    queue.push_back(x * GRID_SIZE_Z + z);
                }
        for (size_t i = 0; i < queue.size(); i++) {
            int x = queue[i] / GRID_SIZE_Z, z = queue[i] % GRID_SIZE_Z;
            const int step[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
            for (const auto& s : step) {
                int nx = x + s[0], nz = z + s[1];
                if (nx < 0 || nx >= GRID_SIZE_X || nz < 0 || nz >= GRID_SIZE_Z)
                    continue;
                if (!reached[nx * GRID_SIZE_Z + nz] && IsOpenCave(T(nx, 0, nz))) {
                    reached[nx * GRID_SIZE_Z + nz] = 1;
                    queue.push_back(nx * GRID_SIZE_Z + nz);
                }
            }
        }
        int open = 0;
        for (int x = 0; x < GRID_SIZE_X; x++)
            for (int z = 0; z < GRID_SIZE_Z; z++) {
                if (!IsOpenCave(T(x, 0, z)))
                    continue;
                open++;
                ASSERT_TRUE(reached[x * GRID_SIZE_Z + z]) << seed << ": " << x << "," << z;
                ASSERT_TRUE(x > 2 && x < 247 && z > 2 && z < 247) << seed << ": " << x << "," << z;
            }
        EXPECT_GT(entrances, 0) << seed;
        EXPECT_GT(open, entrances) << seed;
    }
}

TEST(WorldInvariants, TheWorldIsAFunctionOfTheSeedAlone)
{
    static WorldCell first[CELL_COUNT];
    Generate(1733432707);
    memcpy(first, worldGrid, sizeof worldGrid);
    int after = rand();

    // Another world in between, then leftovers in every cell: neither may leak into the next.
    Generate(5);
    for (int i = 0; i < CELL_COUNT; i++)
        worldGrid[i] = WorldCell{(uint8_t)(i % TILE_TYPE_COUNT), (uint8_t)(i % ORIENTATION_COUNT)};
    Generate(1733432707);
    EXPECT_EQ(memcmp(first, worldGrid, sizeof worldGrid), 0);
    EXPECT_EQ(rand(), after) << "the same draws are taken";

    Generate(1733432708);
    EXPECT_NE(memcmp(first, worldGrid, sizeof worldGrid), 0);
}
