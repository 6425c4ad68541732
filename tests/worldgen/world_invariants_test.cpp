#include <cstring>
#include <vector>

#include "grid_helpers.h"

// Facts every generated world holds whatever its seed.

namespace {

bool IsOpenCave(int t) { return t == TILE_CAVE_FLOOR || t == TILE_CAVE_OPEN_CENTRE; }

}  // namespace

TEST(WorldInvariants, EveryGeneratedWorldHoldsThem)
{
    static uint8_t reached[GRID_SIZE_X * GRID_SIZE_Z];
    for (unsigned seed : {1u, 2u, 3u, 42u, 1733432707u, 20261206u, 65535u, 987654321u}) {
        SCOPED_TRACE(seed);
        srand(seed);
        GenerateWorld();
        int outlets = 0, plainFloors = 0, open = 0;
        std::vector<int> queue;
        memset(reached, 0, sizeof reached);
        for (int x = 0; x < GRID_SIZE_X; x++)
            for (int z = 0; z < GRID_SIZE_Z; z++) {
                for (int y = 0; y < GRID_LAYERS; y++) {  // code 1 on the ring and the top layer only
                    bool outer = x == 0 || x == 249 || z == 0 || z == 249 || y == 14;
                    ASSERT_EQ(T(x, y, z) == TILE_BOUNDARY, outer) << x << "," << y << "," << z;
                    ASSERT_TRUE(!outer || O(x, y, z) == 0) << x << "," << y << "," << z;
                }
                int f = T(x, 3, z);
                ASSERT_NE(f, TILE_ROCK) << x << "," << z;
                outlets += f == TILE_WALL_OUTLET;
                ASSERT_TRUE(f != TILE_WALL_OUTLET || T(x, 2, z) == TILE_CHANNEL_HEAD) << x << "," << z;
                if (f == TILE_CORNER_FLOOR || f == TILE_WALL_FLOOR || f == TILE_THICK_WALL_FLOOR ||
                    f == TILE_EDGE_FEATURE || f == TILE_FLOOR || f == TILE_LIFT_BOTTOM) {
                    // A room 3 to 9 cells high: something on layer 4, nothing of it on layer 12.
                    ASSERT_NE(T(x, 4, z), TILE_EMPTY) << x << "," << z;
                    ASSERT_EQ(T(x, 12, z), TILE_EMPTY) << x << "," << z;
                }
                if (f == TILE_FLOOR) {  // plain floor stacks up to its top (or the cell a double top took in)
                    plainFloors++;
                    int y = 4;
                    while (T(x, y, z) == TILE_FLOOR)
                        y++;
                    ASSERT_TRUE(y - 2 >= 3 && y - 2 <= 9) << x << "," << z;
                    ASSERT_TRUE(T(x, y, z) == TILE_ROOM_TOP || T(x, y, z) == TILE_ROOM_TOP_DOUBLE || T(x, y, z) == 0);
                }
                if (T(x, 0, z) == TILE_CAVE_ENTRANCE) {
                    reached[x * 250 + z] = 1;
                    queue.push_back(x * 250 + z);
                }
            }
        for (size_t i = 0; i < queue.size(); i++) {  // open cave cells 4-connected to an entrance
            int x = queue[i] / 250, z = queue[i] % 250;
            for (int n : {(x - 1) * 250 + z, (x + 1) * 250 + z, x * 250 + z - 1, x * 250 + z + 1})
                if (!reached[n] && IsOpenCave(T(n / 250, 0, n % 250))) {
                    reached[n] = 1;
                    queue.push_back(n);
                }
        }
        for (int x = 0; x < GRID_SIZE_X; x++)
            for (int z = 0; z < GRID_SIZE_Z; z++)
                if (IsOpenCave(T(x, 0, z))) {
                    open++;
                    ASSERT_TRUE(reached[x * 250 + z]) << x << "," << z;
                    ASSERT_TRUE(x > 2 && x < 247 && z > 2 && z < 247) << x << "," << z;
                    ASSERT_TRUE(T(x - 1, 0, z) && T(x + 1, 0, z) && T(x, 0, z - 1) && T(x, 0, z + 1))
                        << x << "," << z << ": open cave cells are walled in";
                }
        EXPECT_GT(outlets, 0);
        EXPECT_GT(plainFloors, 1000);
        EXPECT_GT(open, (int)queue.size() / 2);
    }
}

TEST(WorldInvariants, TheWorldIsAFunctionOfTheSeedAlone)
{
    static WorldCell first[CELL_COUNT];
    srand(1733432707);
    GenerateWorld();
    memcpy(first, worldGrid, sizeof worldGrid);
    int after = rand();
    for (int i = 0; i < CELL_COUNT; i++)  // leftovers in every cell must not leak into the next world
        worldGrid[i] = WorldCell{(uint8_t)(i % TILE_TYPE_COUNT), (uint8_t)(i % ORIENTATION_COUNT)};
    srand(1733432707);
    GenerateWorld();
    EXPECT_EQ(memcmp(first, worldGrid, sizeof worldGrid), 0);
    EXPECT_EQ(rand(), after) << "the same draws are taken";
    srand(1733432708);
    GenerateWorld();
    EXPECT_NE(memcmp(first, worldGrid, sizeof worldGrid), 0);
}
