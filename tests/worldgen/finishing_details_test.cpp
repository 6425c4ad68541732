#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "world/world_grid.h"
#include "worldgen/bridges.h"
#include "worldgen/cave_level.h"
#include "worldgen/channels.h"
#include "worldgen/edge_features_lifts.h"
#include "worldgen/finishing_details.h"
#include "worldgen/floors_interiors.h"
#include "worldgen/generate_world.h"
#include "worldgen/room_level.h"

namespace {

WorldCell& At(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)]; }

void ClearGrid() { std::memset(worldGrid, 0, sizeof worldGrid); }

void Skip(int draws)
{
    for (int i = 0; i < draws; i++)
        rand();
}

// Draws made before the first wall fixture attempt: 59375 cap attempts of two draws on six layers.
constexpr int CAP_DRAWS = 6 * 59375 * 2;

struct FixtureDraw {
    unsigned seed;
    int x, z, kind;
};

// Seeds the generator so that the first fixture attempt (layer 4) lands on (x, z) and draws a wide
// fixture or not as asked, and no later attempt on layer 4 lands on that cell again.
FixtureDraw FindFirstFixtureSeed(bool wide)
{
    for (unsigned seed = 1;; seed++) {
        srand(seed);
        Skip(CAP_DRAWS);
        FixtureDraw f;
        f.seed = seed;
        f.x = rand() % 248 + 1;
        f.z = rand() % 248 + 1;
        f.kind = rand() % 4 + 41;
        bool alone = (f.kind == TILE_WALL_FIXTURE_WIDE) == wide;
        for (int a = 1; a < 50000 && alone; a++) {
            int x = rand() % 248 + 1;
            int z = rand() % 248 + 1;
            alone = x != f.x || z != f.z;
        }
        if (alone)
            return f;
    }
}

// Outward step of a column of each orientation.
const int OUT_X[4] = {-1, 0, 1, 0};
const int OUT_Z[4] = {0, 1, 0, -1};

}  // namespace

TEST(FinishingDetails, RockEdgesAndCornersFollowTheWallsAboveBeside)
{
    ClearGrid();
    // Walls beside each rock cell (W -x, E +x, S -z, N +z) and the piece each must give.
    struct Case { const char* walls; int tile, orientation; };
    const Case cases[] = {{"W", 35, 0}, {"E", 35, 2}, {"S", 35, 3}, {"N", 35, 1}, {"WN", 38, 0},
                          {"ES", 38, 2}, {"WS", 38, 3}, {"EN", 38, 1}, {"WE", 35, 2}, {"WESN", 38, 1}, {"", 20, 0}};
    const int count = sizeof cases / sizeof cases[0];
    for (int c = 0; c < count; c++) {
        int x = 40 + 10 * c, z = 100;
        At(x, 2, z) = WorldCell{TILE_ROCK, 0};
        At(x, 3, z) = WorldCell{TILE_ROCK, 0};
        for (const char* w = cases[c].walls; *w; w++)
            At(x + (*w == 'W' ? -1 : *w == 'E' ? 1 : 0), 3, z + (*w == 'S' ? -1 : *w == 'N' ? 1 : 0)).tileType = TILE_WALL;
    }
    At(200, 2, 100).tileType = TILE_ROCK;  // beside a wall corner piece only
    At(199, 3, 100).tileType = TILE_WALL_CORNER;
    srand(1);
    GenerateFinishingDetails();
    for (int c = 0; c < count; c++) {
        EXPECT_EQ(At(40 + 10 * c, 2, 100).tileType, cases[c].tile) << cases[c].walls;
        EXPECT_EQ(At(40 + 10 * c, 2, 100).orientation, cases[c].orientation) << cases[c].walls;
        EXPECT_EQ(At(40 + 10 * c, 3, 100).tileType, TILE_EMPTY);
    }
    EXPECT_EQ(At(200, 2, 100).tileType, TILE_ROCK);
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            ASSERT_NE(At(x, 3, z).tileType, TILE_ROCK);
}

TEST(FinishingDetails, RoomTopsTakeInAPartnerInTryOrderAndKeepTheirDistance)
{
    ClearGrid();
    auto top = [](int x, int y, int z) { At(x, y, z) = WorldCell{TILE_ROOM_TOP, 3}; };
    top(100, 6, 100), top(100, 6, 101);                          // try 1: +z
    top(120, 6, 100), top(121, 6, 100);                          // try 2: +x
    top(140, 6, 99), top(140, 6, 100);                           // try 3: -z, once the first cell's
    At(140, 7, 101).tileType = TILE_FLOOR;                       //   own +z try is blocked
    top(159, 6, 100), top(160, 6, 100);                          // try 4: -x, likewise
    At(161, 7, 100).tileType = TILE_FLOOR;
    top(180, 6, 100), top(180, 6, 101);                          // a lift top two cells away
    At(182, 6, 102).tileType = TILE_LIFT_TOP;
    top(200, 6, 100), top(200, 6, 101);                          // a lift top three cells away
    At(203, 6, 100).tileType = TILE_LIFT_TOP;
    top(220, 6, 100), top(220, 6, 101), top(220, 6, 103), top(220, 6, 104);  // double tops 4 apart
    top(100, 13, 140), top(100, 13, 141);                        // the highest layer tested
    top(2, 6, 180), top(2, 6, 181);                              // the lowest row tested
    top(1, 6, 200), top(1, 6, 201);                              // outside the tested rows
    srand(1);
    GenerateFinishingDetails();

    struct Expect { int x, y, z, tile, orientation; };
    const Expect expected[] = {
        {100, 6, 100, 40, 0}, {100, 6, 101, 0, 3}, {120, 6, 100, 40, 1}, {121, 6, 100, 0, 3},
        {140, 6, 100, 40, 2}, {140, 6, 99, 0, 3},  {160, 6, 100, 40, 3}, {159, 6, 100, 0, 3},
        {180, 6, 100, 5, 3},  {180, 6, 101, 5, 3}, {200, 6, 100, 40, 0}, {200, 6, 101, 0, 3},
        {220, 6, 100, 40, 0}, {220, 6, 101, 0, 3}, {220, 6, 103, 0, 3},  {220, 6, 104, 40, 2},
        {100, 13, 140, 40, 0}, {2, 6, 180, 40, 0}, {1, 6, 200, 5, 3},    {1, 6, 201, 5, 3}};
    for (const Expect& e : expected) {
        EXPECT_EQ(At(e.x, e.y, e.z).tileType, e.tile) << e.x << "," << e.y << "," << e.z;
        EXPECT_EQ(At(e.x, e.y, e.z).orientation, e.orientation) << e.x << "," << e.y << "," << e.z;
    }
}

TEST(FinishingDetails, ColumnCapsNeedTheTenCellsAboveEmpty)
{
    srand(11);
    int x4 = rand() % 248 + 1, z4 = rand() % 248 + 1;  // first cap attempt, layer 4
    Skip(4 * 59375 * 2 + 59375 * 2 - 2);
    int x9 = rand() % 248 + 1, z9 = rand() % 248 + 1;  // first cap attempt, layer 9

    ClearGrid();
    At(x4, 4, z4) = WorldCell{TILE_THICK_WALL_COLUMN, 3};
    At(x4 + 1, 5, z4 + 1).tileType = TILE_FLOOR;  // diagonal: not among the ten
    At(x9, 9, z9) = WorldCell{TILE_THICK_WALL_COLUMN, 1};
    srand(11);
    GenerateFinishingDetails();
    EXPECT_EQ(At(x4, 5, z4).tileType, TILE_COLUMN_CAP);
    EXPECT_EQ(At(x4, 5, z4).orientation, 3);
    EXPECT_EQ(At(x9, 10, z9).tileType, TILE_COLUMN_CAP);
    EXPECT_EQ(At(x9, 10, z9).orientation, 1);

    ClearGrid();
    At(x4, 4, z4) = WorldCell{TILE_THICK_WALL_COLUMN, 3};
    At(x4 - 1, 6, z4).tileType = TILE_FLOOR;  // two layers up, beside the column
    srand(11);
    GenerateFinishingDetails();
    EXPECT_EQ(At(x4, 5, z4).tileType, TILE_EMPTY);
}

TEST(FinishingDetails, WallFixtureNeedsItsCheckPlaneEmptyOnEveryFace)
{
    FixtureDraw f = FindFirstFixtureSeed(false);
    for (int o = 0; o < 4; o++) {
        int tx = f.x + OUT_X[o], tz = f.z + OUT_Z[o];
        int ax = OUT_Z[o] != 0, az = OUT_X[o] != 0;  // along the wall face
        // Blockers (dx, dy, dz from the target): none, the plane's upper corner, below the target,
        // just past the plane along the face, one further out. The last two block nothing.
        const int blockers[5][3] = {{0, 0, 0}, {ax, 1, az}, {0, -1, 0}, {2 * ax, 0, 2 * az}, {OUT_X[o], 0, OUT_Z[o]}};
        for (int b = 0; b < 5; b++) {
            ClearGrid();
            At(f.x, 4, f.z) = WorldCell{TILE_THICK_WALL_COLUMN, (uint8_t)o};
            if (b > 0)
                At(tx + blockers[b][0], 4 + blockers[b][1], tz + blockers[b][2]).tileType = TILE_FLOOR;
            srand(f.seed);
            GenerateFinishingDetails();
            bool placed = b == 0 || b >= 3;
            EXPECT_EQ(At(tx, 4, tz).tileType, placed ? f.kind : TILE_EMPTY) << o << " " << b;
            EXPECT_EQ(At(tx, 4, tz).orientation, placed ? o : 0);
            EXPECT_EQ(At(f.x, 4, f.z).tileType, placed ? TILE_WALL_COLUMN : TILE_THICK_WALL_COLUMN);
            EXPECT_EQ(At(f.x, 4, f.z).orientation, o);
        }
    }
}

TEST(FinishingDetails, WideFixturesKeepTwoCellsApartAndTurnTheirNeighbourColumns)
{
    // A column facing +z, with another fixture in its row beyond the target at x + d.
    auto run = [](const FixtureDraw& f, int d, int otherKind) {
        ClearGrid();
        At(f.x, 4, f.z) = WorldCell{TILE_THICK_WALL_COLUMN, 1};
        At(f.x + d, 4, f.z + 1).tileType = (uint8_t)otherKind;
        srand(f.seed);
        GenerateFinishingDetails();
        return (int)At(f.x, 4, f.z + 1).tileType;
    };
    FixtureDraw wide = FindFirstFixtureSeed(true);
    EXPECT_EQ(run(wide, 2, TILE_WALL_FIXTURE_WIDE), TILE_EMPTY);
    EXPECT_EQ(At(wide.x, 4, wide.z).tileType, TILE_THICK_WALL_COLUMN);
    EXPECT_EQ(run(wide, -2, TILE_WALL_FIXTURE_WIDE), TILE_EMPTY);
    EXPECT_EQ(run(wide, 3, TILE_WALL_FIXTURE_WIDE), TILE_WALL_FIXTURE_WIDE);
    EXPECT_EQ(run(wide, 2, TILE_WALL_FIXTURE_1), TILE_WALL_FIXTURE_WIDE);
    FixtureDraw narrow = FindFirstFixtureSeed(false);
    EXPECT_EQ(run(narrow, 2, TILE_WALL_FIXTURE_WIDE), narrow.kind);

    // A placed wide fixture turns the thick-wall columns beside its column, tile byte only.
    ClearGrid();
    At(wide.x, 4, wide.z) = WorldCell{TILE_THICK_WALL_COLUMN, 1};
    At(wide.x - 1, 4, wide.z) = WorldCell{TILE_THICK_WALL_COLUMN, 1};
    At(wide.x + 1, 4, wide.z) = WorldCell{TILE_THICK_WALL_COLUMN, 2};
    At(wide.x, 4, wide.z - 1) = WorldCell{TILE_THICK_WALL_COLUMN, 3};
    At(wide.x + 1, 4, wide.z - 1) = WorldCell{TILE_THICK_WALL_COLUMN, 1};  // diagonal
    srand(wide.seed);
    GenerateFinishingDetails();
    EXPECT_EQ(At(wide.x, 4, wide.z + 1).tileType, TILE_WALL_FIXTURE_WIDE);
    EXPECT_EQ(At(wide.x - 1, 4, wide.z).tileType, TILE_WALL_COLUMN);
    EXPECT_EQ(At(wide.x + 1, 4, wide.z).tileType, TILE_WALL_COLUMN);
    EXPECT_EQ(At(wide.x + 1, 4, wide.z).orientation, 2);
    EXPECT_EQ(At(wide.x, 4, wide.z - 1).tileType, TILE_WALL_COLUMN);
    EXPECT_EQ(At(wide.x, 4, wide.z - 1).orientation, 3);
    EXPECT_EQ(At(wide.x + 1, 4, wide.z - 1).tileType, TILE_THICK_WALL_COLUMN);
}

TEST(FinishingDetails, WallsWithoutACoreBesideThemBecomePropGroundBeforeCoreCentresAreFound)
{
    ClearGrid();
    for (int z = 100; z <= 110; z++) {  // a thick wall along z: skin, three core rows, skin
        At(100, 3, z) = WorldCell{TILE_WALL, 0};
        for (int x = 101; x <= 103; x++)
            At(x, 3, z).tileType = TILE_WALL_CORE;
        At(104, 3, z) = WorldCell{TILE_WALL, 2};
        At(120, 3, z) = WorldCell{TILE_WALL, 2};  // a thin partition
    }
    At(140, 3, 100).tileType = TILE_WALL_CORE;  // walls two away, but no core beside those walls
    At(138, 3, 100).tileType = TILE_WALL;
    At(142, 3, 100).tileType = TILE_WALL;
    for (int z = 119; z <= 121; z++)            // a core centre found along z
        At(160, 3, z).tileType = TILE_WALL_CORE;
    At(160, 3, 118).tileType = TILE_WALL;
    At(160, 3, 122).tileType = TILE_WALL;
    At(180, 3, 100).tileType = TILE_WALL;       // a core on its diagonal only
    At(181, 3, 101).tileType = TILE_WALL_CORE;
    At(1, 3, 150).tileType = TILE_WALL;         // rows 0, 1, 248, 249 are not looked at
    srand(1);
    GenerateFinishingDetails();

    for (int z = 100; z <= 110; z++) {
        EXPECT_EQ(At(100, 3, z).tileType, TILE_WALL);
        EXPECT_EQ(At(101, 3, z).tileType, TILE_WALL_CORE);
        EXPECT_EQ(At(102, 3, z).tileType, TILE_WALL_CORE_CENTRE);
        EXPECT_EQ(At(103, 3, z).tileType, TILE_WALL_CORE);
        EXPECT_EQ(At(104, 3, z).tileType, TILE_WALL);
        EXPECT_EQ(At(120, 3, z).tileType, TILE_PROP_GROUND);
        EXPECT_EQ(At(120, 3, z).orientation, 2);
    }
    EXPECT_EQ(At(140, 3, 100).tileType, TILE_WALL_CORE);
    EXPECT_EQ(At(138, 3, 100).tileType, TILE_PROP_GROUND);
    EXPECT_EQ(At(160, 3, 120).tileType, TILE_WALL_CORE_CENTRE);
    EXPECT_EQ(At(160, 3, 119).tileType, TILE_WALL_CORE);
    EXPECT_EQ(At(180, 3, 100).tileType, TILE_PROP_GROUND);
    EXPECT_EQ(At(1, 3, 150).tileType, TILE_WALL);
}

TEST(FinishingDetails, ClosesTheWorldOnItsFourSidesAndTopAndNowhereElse)
{
    ClearGrid();
    At(100, 0, 100) = WorldCell{TILE_BOUNDARY, 2};  // leftover markers inside
    At(50, 7, 60) = WorldCell{TILE_BOUNDARY, 0};
    At(0, 3, 100) = WorldCell{TILE_WALL, 2};        // pieces on the ring and the top layer
    At(249, 0, 0) = WorldCell{TILE_ROCK, 3};
    At(100, 14, 100) = WorldCell{TILE_ROOM_TOP, 1};
    At(100, 13, 249) = WorldCell{TILE_FLOOR, 3};
    srand(5);
    GenerateFinishingDetails();
    // 1,212,500 draws on an empty grid: six layers of caps, five of fixtures, two draws an attempt.
    int next = rand();
    srand(5);
    Skip(6 * 59375 * 2 + 5 * 50000 * 2);
    EXPECT_EQ(next, rand());

    int boundary = 0;
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int y = 0; y < GRID_LAYERS; y++)
            for (int z = 0; z < GRID_SIZE_Z; z++) {
                const WorldCell& c = At(x, y, z);
                bool outer = x == 0 || x == 249 || z == 0 || z == 249 || y == 14;
                ASSERT_EQ(c.tileType == TILE_BOUNDARY, outer) << x << "," << y << "," << z;
                if (outer) {
                    ASSERT_EQ(c.orientation, 0);
                }
                boundary += outer;
            }
    EXPECT_EQ(boundary, 250 * 250 + 14 * (4 * 249));
    EXPECT_EQ(At(100, 0, 100).tileType, TILE_EMPTY);
    EXPECT_EQ(At(100, 0, 100).orientation, 2);
    EXPECT_EQ(At(1, 0, 1).tileType, TILE_EMPTY);
}

TEST(FinishingDetails, GeneratedWorldsEndClosedWithWholeLiftsAndCoredWalls)
{
    for (unsigned seed = 1; seed <= 4; seed++) {
        srand(seed);
        ClearWorldGrid();
        GenerateRoomLevel();
        GenerateChannels();
        GenerateFloorsAndInteriors();
        GenerateCaveLevel();
        GenerateBridges();
        GenerateEdgeFeaturesAndLifts();
        GenerateFinishingDetails();
        int lifts = 0;
        for (int x = 0; x < GRID_SIZE_X; x++)
            for (int z = 0; z < GRID_SIZE_Z; z++) {
                bool ring = x == 0 || x == 249 || z == 0 || z == 249;
                for (int y = 0; y < GRID_LAYERS; y++) {
                    const WorldCell& c = At(x, y, z);
                    ASSERT_EQ(c.tileType == TILE_BOUNDARY, ring || y == 14) << x << "," << y << "," << z;
                    ASSERT_TRUE(c.tileType != TILE_BOUNDARY || c.orientation == 0);
                }
                int t = At(x, 3, z).tileType;
                ASSERT_NE(t, TILE_ROCK);
                if (t == TILE_WALL && x >= 2 && x <= 247 && z >= 2 && z <= 247) {
                    bool cored = false;  // a core beside it, on the centre line or not
                    for (int k = 0; k < 4; k++) {
                        int n = At(x + OUT_X[k], 3, z + OUT_Z[k]).tileType;
                        cored = cored || n == TILE_WALL_CORE || n == TILE_WALL_CORE_CENTRE;
                    }
                    ASSERT_TRUE(cored) << x << "," << z;
                }
                if (t != TILE_LIFT_BOTTOM)
                    continue;
                lifts++;
                int y = 4;  // shaft cells up to one top, every cell turned like the bottom
                while (At(x, y, z).tileType == TILE_LIFT_SHAFT)
                    ASSERT_EQ(At(x, y++, z).orientation, At(x, 3, z).orientation);
                ASSERT_EQ(At(x, y, z).tileType, TILE_LIFT_TOP);
                ASSERT_EQ(At(x, y, z).orientation, At(x, 3, z).orientation);
            }
        EXPECT_GT(lifts, 0);
    }
}
