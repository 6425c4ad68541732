#include <cstring>
#include <vector>

#include "grid_helpers.h"
#include "worldgen/cave_level.h"
#include "worldgen/channels.h"
#include "worldgen/floors_interiors.h"
#include "worldgen/room_level.h"

TEST(CaveLevel, DescentWorkedExampleAndTheCaveAroundIt)
{
    ClearWorldGrid();
    Put(100, 2, 60, TILE_CHANNEL_SIDE, 0);
    ASSERT_TRUE(TryPlaceDescent(100, 60));
    ExpectCells({{100, 2, 60, TILE_DESCENT_TOP, 0}, {98, 1, 60, TILE_DESCENT_RAMP, 3}, {95, 0, 60, TILE_DESCENT_RAMP, 3},
                 {93, 0, 60, TILE_CAVE_ENTRANCE, 3}, {92, 0, 60, TILE_CAVE_FLOOR, 0}, {94, 0, 60, TILE_BOUNDARY, 0},
                 {96, 0, 60, TILE_BOUNDARY, 0}, {97, 0, 60, TILE_BOUNDARY, 0}});
    EXPECT_EQ(CountTiles(0, TILE_BOUNDARY), 3 + 2 * 5);  // d 3, 4, 6 on the run; d 3..7 beside it
    EXPECT_FALSE(TryPlaceDescent(100, 60)) << "the top is no longer a channel side";

    // The steps after the wall lines, which draw nothing.
    FillCaveFloor(), ClearDescentMarkers(), ReopenEntranceFronts(), ClearCaveBorder();
    MarkCaveReach(), PruneUnreachedCave(), ClassifyCaveWalls(), MarkOpenCentres();
    ExpectCells({{93, 0, 59, TILE_CAVE_BLOCK, 0}, {93, 0, 61, TILE_CAVE_BLOCK, 0}, {92, 0, 60, TILE_CAVE_FLOOR, 0},
                 {93, 0, 60, TILE_CAVE_ENTRANCE, 3}, {95, 0, 60, TILE_DESCENT_RAMP, 3}, {94, 0, 59, TILE_CAVE_WALL, 2},
                 {96, 0, 61, TILE_CAVE_WALL, 0}, {97, 0, 59, TILE_CAVE_BLOCK, 0}, {97, 0, 60, TILE_CAVE_WALL, 1},
                 {94, 0, 60, TILE_EMPTY, 0}, {98, 0, 60, TILE_CAVE_FLOOR, 0}, {2, 0, 100, TILE_CAVE_WALL, 1},
                 {1, 0, 100, TILE_EMPTY, 0}, {4, 0, 4, TILE_CAVE_OPEN_CENTRE, 0}, {4, 0, 5, TILE_CAVE_FLOOR, 0}});
}

TEST(CaveLevel, DescentRunsAwayFromItsChannelAndNeedsExactlyItsClearance)
{
    struct Case { int o, dx, dz, p; };  // side orientation, run direction, piece orientation
    for (const Case& c : {Case{0, -1, 0, 3}, Case{1, 0, 1, 0}, Case{2, 1, 0, 1}, Case{3, 0, -1, 2}}) {
        SCOPED_TRACE(c.o);
        ClearWorldGrid();
        Put(100, 2, 60, TILE_CHANNEL_SIDE, c.o);
        ASSERT_TRUE(TryPlaceDescent(100, 60));
        auto at = [&](int d, int y, int tile, int o) { return CellWant{100 + d * c.dx, y, 60 + d * c.dz, tile, o}; };
        Put(100 + 8 * c.dx, 0, 60 + 8 * c.dz, TILE_EMPTY);  // the entrance faces its front cell
        ReopenEntranceFronts();
        ExpectCells({{100, 2, 60, TILE_DESCENT_TOP, c.o}, at(2, 1, TILE_DESCENT_RAMP, c.p), at(5, 0, TILE_DESCENT_RAMP, c.p),
                     at(7, 0, TILE_CAVE_ENTRANCE, c.p), at(8, 0, TILE_CAVE_FLOOR, 0)});
    }
    struct Cell { int x, y, z; bool blocks; };
    const Cell cells[] = {// the run on layer 2 (d 1..5), layers 1 and 0 (d 0..5), the 7 x 7 square's corners
                          {99, 2, 60, true}, {95, 2, 60, true}, {100, 1, 60, true}, {95, 1, 60, true},
                          {100, 0, 60, true}, {95, 0, 60, true}, {96, 0, 57, true}, {90, 0, 63, true},
                          // just outside, and a marker cell beside the run that the descent overwrites
                          {94, 2, 60, false}, {94, 1, 60, false}, {89, 0, 60, false}, {94, 0, 64, false},
                          {97, 0, 59, false}};
    for (const Cell& b : cells) {
        ClearWorldGrid();
        Put(100, 2, 60, TILE_CHANNEL_SIDE, 0);
        Put(b.x, b.y, b.z, TILE_CAVE_FLOOR);
        EXPECT_EQ(TryPlaceDescent(100, 60), !b.blocks) << b.x << "," << b.y << "," << b.z;
        EXPECT_EQ(T(98, 1, 60), b.blocks ? TILE_EMPTY : TILE_DESCENT_RAMP);
    }
    // The 3750 attempts draw x then z in 10..239.
    srand(4242);
    int x = rand() % 230 + 10, z = rand() % 230 + 10;
    ClearWorldGrid();
    Put(x, 2, z, TILE_CHANNEL_SIDE, 2);
    srand(4242);
    PlaceDescents();
    ExpectDrawsTaken(4242, 2 * 3750);
    ExpectCells({{x, 2, z, TILE_DESCENT_TOP, 2}, {x + 7, 0, z, TILE_CAVE_ENTRANCE, 1}});
}

TEST(CaveLevel, WallLineEmptiesAtMostSixCellsBesidesItsCentre)
{
    ClearWorldGrid();
    FillCaveFloor();
    Put(97, 0, 150, TILE_EMPTY), Put(200, 0, 101, TILE_EMPTY), Put(31, 0, 200, TILE_EMPTY);
    srand(5);
    CutCaveWallLine(200, 100, true);  // without both neighbours across open: no draw, no change
    CutCaveWallLine(30, 200, false);
    ExpectDrawsTaken(5, 0);
    srand(11);
    int r1 = rand() % 2, r2 = rand() % 2, r3 = rand() % 2;  // whether each centre is emptied
    srand(11);
    CutCaveWallLine(100, 100, true);  // the -x walk takes all six
    CutCaveWallLine(100, 150, true);  // a closed cell three steps toward -x: two that way, four toward +x
    CutCaveWallLine(60, 3, false);    // at the low edge: down to z 0, then three toward +z
    for (int k = 0; k < 250; k++) {
        EXPECT_EQ(T(k, 0, 100) == TILE_EMPTY, (k >= 94 && k <= 99) || (k == 100 && r1)) << k;
        EXPECT_EQ(T(k, 0, 150) == TILE_EMPTY, (k >= 97 && k <= 104 && k != 100) || (k == 100 && r2)) << k;
        EXPECT_EQ(T(60, 0, k) == TILE_EMPTY, (k <= 6 && k != 3) || (k == 3 && r3)) << k;
    }
    ExpectCells({{200, 0, 100, TILE_CAVE_FLOOR, 0}, {199, 0, 100, TILE_CAVE_FLOOR, 0}, {30, 0, 199, TILE_CAVE_FLOOR, 0}});
}

TEST(CaveLevel, ReachFollowsFourConnectedFloorInsideTheBorderByBothMethods)
{
    ClearWorldGrid();
    Put(50, 0, 50, TILE_CAVE_ENTRANCE), Fill(50, 50, 0, 51, 53, TILE_CAVE_FLOOR);
    Put(51, 0, 53, TILE_CAVE_FLOOR), Put(49, 0, 50, TILE_CAVE_FLOOR);  // joined by a side, beside the entrance's back
    Put(52, 0, 54, TILE_CAVE_FLOOR), Put(70, 0, 70, TILE_CAVE_FLOOR);  // only a corner touches; alone
    Put(100, 0, 248, TILE_CAVE_ENTRANCE), Put(101, 0, 248, TILE_CAVE_FLOOR);
    Put(100, 0, 249, TILE_CAVE_FLOOR);  // outside 1..248: never marked
    for (int method = 0; method < 2; method++) {
        if (method == 0)
            MarkCaveReach();
        else
            MarkCaveReachByRescan();
        std::vector<int> marked;
        for (int i = 0; i < GRID_SIZE_X * GRID_SIZE_Z; i++)
            if (caveReached[i])
                marked.push_back(i);
        EXPECT_EQ(marked, (std::vector<int>{49 * 250 + 50, 50 * 250 + 50, 50 * 250 + 51, 50 * 250 + 52, 50 * 250 + 53,
                                            51 * 250 + 53, 100 * 250 + 248, 101 * 250 + 248}))
            << method;
    }
    PruneUnreachedCave();
    ExpectCells({{52, 0, 54, TILE_EMPTY, 0}, {70, 0, 70, TILE_EMPTY, 0}, {51, 0, 53, TILE_CAVE_FLOOR, 0}});

    // The whole pass with either method gives the same grid on generated worlds.
    static WorldCell start[CELL_COUNT], fast[CELL_COUNT];
    for (unsigned seed : {1u, 20261206u, 31337u}) {
        srand(seed);
        ClearWorldGrid();
        GenerateRoomLevel();
        GenerateChannels();
        GenerateFloorsAndInteriors();
        memcpy(start, worldGrid, sizeof worldGrid);
        srand(seed);
        GenerateCaveLevel();
        memcpy(fast, worldGrid, sizeof worldGrid);
        memcpy(worldGrid, start, sizeof worldGrid);
        srand(seed);
        GenerateCaveLevelByRescan();
        EXPECT_EQ(memcmp(fast, worldGrid, sizeof worldGrid), 0) << seed;
        EXPECT_GT(CountTiles(0, TILE_CAVE_FLOOR), 1000) << seed;
    }
}

TEST(CaveLevel, EmptyCellsBecomeWallsPartitionsAndBlocksAndOpenCentresKeepApart)
{
    struct Case { std::vector<std::pair<int, int>> open; bool entranceWest; int tile, turn; };
    const Case cases[] = {
        {{{-1, 0}, {1, 0}}, false, TILE_CAVE_PARTITION, 1}, {{{0, -1}, {0, 1}}, false, TILE_CAVE_PARTITION, 0},
        {{{-1, 0}, {0, 1}}, false, TILE_CAVE_BLOCK, 2},     {{{-1, 0}}, false, TILE_CAVE_WALL, 3},
        {{{1, 0}}, false, TILE_CAVE_WALL, 1},               {{{0, -1}}, false, TILE_CAVE_WALL, 2},
        {{{0, 1}}, false, TILE_CAVE_WALL, 0},               {{{-1, 0}, {1, 0}, {0, 1}}, false, TILE_CAVE_BLOCK, 2},
        {{{1, 1}}, false, TILE_EMPTY, 2},                   {{{1, 1}}, true, TILE_CAVE_BLOCK, 2},
        {{{1, 0}}, true, TILE_CAVE_WALL, 1},                {{{1, 0}, {-1, -1}}, true, TILE_CAVE_BLOCK, 2},
    };
    ClearWorldGrid();
    for (int n = 0; n < 12; n++) {  // each case around (20 + 10n, 0, 50), whose orientation starts at 2
        Put(20 + 10 * n, 0, 50, TILE_EMPTY, 2);
        for (const auto& o : cases[n].open)
            Put(20 + 10 * n + o.first, 0, 50 + o.second, TILE_CAVE_FLOOR);
        if (cases[n].entranceWest)
            Put(20 + 10 * n - 1, 0, 50, TILE_CAVE_ENTRANCE, 3);
    }
    ClassifyCaveWalls();
    for (int n = 0; n < 12; n++)
        ExpectCells({{20 + 10 * n, 0, 50, cases[n].tile, cases[n].turn}});

    ClearWorldGrid();
    Fill(10, 30, 0, 10, 30, TILE_CAVE_FLOOR);
    Put(20, 0, 25, TILE_EMPTY);
    MarkOpenCentres();
    for (int x = 10; x <= 30; x++)
        for (int z = 10; z <= 30; z++) {
            bool centre = x >= 11 && x <= 29 && z >= 11 && z <= 29 && (x - 11) % 2 == 0 && (z - 11) % 2 == 0;
            if (z == 25)  // the hole holds back (19, 25) and (21, 25); the rest of that column shifts by one
                centre = x == 11 || x == 13 || x == 15 || x == 17 || x == 22 || x == 24 || x == 26 || x == 28;
            int want = x == 20 && z == 25 ? TILE_EMPTY : centre ? TILE_CAVE_OPEN_CENTRE : TILE_CAVE_FLOOR;
            ASSERT_EQ(T(x, 0, z), want) << x << "," << z;
        }
}
