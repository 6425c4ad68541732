#include "grid_helpers.h"
#include "worldgen/finishing_details.h"

namespace {

struct FixtureDraw {
    unsigned seed;
    int x, z, kind;
};

// A seed whose first fixture attempt (layer 4, after 6 x 59375 cap attempts of two draws) lands on
// (x, z) and draws a wide fixture or not as asked, and whose later attempts on layer 4 miss that cell.
FixtureDraw FindFirstFixtureSeed(bool wide)
{
    for (unsigned seed = 1;; seed++) {
        srand(seed);
        for (int i = 0; i < 6 * 59375 * 2; i++)
            rand();
        FixtureDraw f = {seed, rand() % 248 + 1, rand() % 248 + 1, rand() % 4 + 41};
        bool alone = (f.kind == TILE_WALL_FIXTURE_WIDE) == wide;
        for (int a = 1; a < 50000 && alone; a++) {
            int x = rand() % 248 + 1, z = rand() % 248 + 1;
            alone = x != f.x || z != f.z;
        }
        if (alone)
            return f;
    }
}

}  // namespace

TEST(FinishingDetails, RockEdgesPropGroundCoreCentresAndTheClosedWorld)
{
    ClearWorldGrid();
    // Rock cells with walls beside them one layer up (W -x, E +x, S -z, N +z) and the piece each gives.
    struct Case { const char* walls; int tile, orientation; };
    const Case cases[] = {{"W", 35, 0},  {"E", 35, 2},  {"S", 35, 3},  {"N", 35, 1},    {"WN", 38, 0}, {"ES", 38, 2},
                          {"WS", 38, 3}, {"EN", 38, 1}, {"WE", 35, 2}, {"WESN", 38, 1}, {"", 20, 0}};
    for (int c = 0; c < 11; c++) {
        Put(40 + 10 * c, 2, 100, TILE_ROCK), Put(40 + 10 * c, 3, 100, TILE_ROCK);
        for (const char* w = cases[c].walls; *w; w++)
            Put(40 + 10 * c + (*w == 'W' ? -1 : *w == 'E'), 3, 100 + (*w == 'S' ? -1 : *w == 'N'), TILE_WALL);
    }
    Put(200, 2, 100, TILE_ROCK), Put(199, 3, 100, TILE_WALL_CORNER);  // beside a wall corner piece only
    // A thick wall along z (skin, three core rows, skin) and a thin partition.
    Fill(100, 100, 3, 150, 160, TILE_WALL, 0), Fill(101, 103, 3, 150, 160, TILE_WALL_CORE);
    Fill(104, 104, 3, 150, 160, TILE_WALL, 2), Fill(120, 120, 3, 150, 160, TILE_WALL, 2);
    Put(140, 3, 150, TILE_WALL_CORE), Put(138, 3, 150, TILE_WALL), Put(142, 3, 150, TILE_WALL);  // no core beside
    Fill(160, 160, 3, 169, 171, TILE_WALL_CORE), Put(160, 3, 168, TILE_WALL), Put(160, 3, 172, TILE_WALL);  // along z
    Put(180, 3, 150, TILE_WALL), Put(181, 3, 151, TILE_WALL_CORE);  // a core on its diagonal only
    Put(1, 3, 150, TILE_WALL);                                       // rows 0, 1, 248, 249 are not looked at
    Put(100, 0, 100, TILE_BOUNDARY, 2), Put(50, 7, 60, TILE_BOUNDARY);       // leftover markers inside
    Put(0, 3, 100, TILE_WALL, 2), Put(100, 14, 100, TILE_ROOM_TOP, 1);       // on the ring and the top layer
    srand(5);
    GenerateFinishingDetails();
    ExpectDrawsTaken(5, 6 * 59375 * 2 + 5 * 50000 * 2);  // caps and fixtures with no column ever drawn
    for (int c = 0; c < 11; c++)
        ExpectCells({{40 + 10 * c, 2, 100, cases[c].tile, cases[c].orientation}, {40 + 10 * c, 3, 100, TILE_EMPTY, 0}});
    ExpectCells({{200, 2, 100, TILE_ROCK, 0}, {100, 3, 155, TILE_WALL, 0}, {101, 3, 155, TILE_WALL_CORE, 0},
                 {102, 3, 155, TILE_WALL_CORE_CENTRE, 0}, {104, 3, 155, TILE_WALL, 2}, {120, 3, 150, TILE_PROP_GROUND, 2},
                 {140, 3, 150, TILE_WALL_CORE, 0}, {138, 3, 150, TILE_PROP_GROUND, 0},
                 {160, 3, 170, TILE_WALL_CORE_CENTRE, 0}, {180, 3, 150, TILE_PROP_GROUND, 0}, {1, 3, 150, TILE_WALL, 0},
                 {100, 0, 100, TILE_EMPTY, 2}, {50, 7, 60, TILE_EMPTY, 0}, {0, 3, 100, TILE_BOUNDARY, 0},
                 {100, 14, 100, TILE_BOUNDARY, 0}, {1, 0, 1, TILE_EMPTY, 0}});
    EXPECT_EQ(CountTiles(3, TILE_WALL_CORE_CENTRE), 11 + 1);
    EXPECT_EQ(CountTiles(3, TILE_PROP_GROUND), 18 + 11 + 2 + 1);  // the rock cases' walls lost their rock
    int boundary = 0;
    for (int i = 0; i < CELL_COUNT; i++)
        boundary += worldGrid[i].tileType == TILE_BOUNDARY && worldGrid[i].orientation == 0;
    EXPECT_EQ(boundary, 250 * 250 + 14 * (4 * 249));
}

TEST(FinishingDetails, RoomTopsTakeInAPartnerInTryOrderAndKeepTheirDistance)
{
    ClearWorldGrid();
    auto top = [](int x, int y, int z) { Put(x, y, z, TILE_ROOM_TOP, 3); };
    top(100, 6, 100), top(100, 6, 101);  // try 1: +z
    top(120, 6, 100), top(121, 6, 100);  // try 2: +x
    top(140, 6, 99), top(140, 6, 100), Put(140, 7, 101, TILE_FLOOR);   // try 3: -z, once +z is blocked
    top(159, 6, 100), top(160, 6, 100), Put(161, 7, 100, TILE_FLOOR);  // try 4: -x, likewise
    top(180, 6, 100), top(180, 6, 101), Put(182, 6, 102, TILE_LIFT_TOP);  // a lift top two cells away
    top(200, 6, 100), top(200, 6, 101), Put(203, 6, 100, TILE_LIFT_TOP);  // and three cells away
    top(220, 6, 100), top(220, 6, 101), top(220, 6, 103), top(220, 6, 104);  // double tops 4 apart
    top(100, 13, 140), top(100, 13, 141);  // the highest layer tested
    top(2, 6, 180), top(2, 6, 181);        // the lowest row tested
    top(1, 6, 200), top(1, 6, 201);        // outside the tested rows
    MergeRoomTops();
    ExpectCells({{100, 6, 100, 40, 0}, {100, 6, 101, 0, 3}, {120, 6, 100, 40, 1}, {121, 6, 100, 0, 3},
                 {140, 6, 100, 40, 2}, {140, 6, 99, 0, 3},  {160, 6, 100, 40, 3}, {159, 6, 100, 0, 3},
                 {180, 6, 100, 5, 3},  {180, 6, 101, 5, 3}, {200, 6, 100, 40, 0}, {200, 6, 101, 0, 3},
                 {220, 6, 100, 40, 0}, {220, 6, 101, 0, 3}, {220, 6, 103, 0, 3},  {220, 6, 104, 40, 2},
                 {100, 13, 140, 40, 0}, {2, 6, 180, 40, 0}, {1, 6, 200, 5, 3},    {1, 6, 201, 5, 3}});
}

TEST(FinishingDetails, ColumnCapsAndFixturesNeedTheirCellsEmpty)
{
    srand(11);
    int x4 = rand() % 248 + 1, z4 = rand() % 248 + 1;  // first cap attempt, layer 4
    for (int i = 0; i < 5 * 59375 * 2 - 2; i++)
        rand();
    int x9 = rand() % 248 + 1, z9 = rand() % 248 + 1;  // first cap attempt, layer 9
    for (bool blocked : {false, true}) {
        ClearWorldGrid();
        Put(x4, 4, z4, TILE_THICK_WALL_COLUMN, 3), Put(x9, 9, z9, TILE_THICK_WALL_COLUMN, 1);
        Put(x4 + 1, 5, z4 + 1, TILE_FLOOR);  // diagonal: not among the ten
        if (blocked)
            Put(x4 - 1, 6, z4, TILE_FLOOR);  // two layers up, beside the column
        srand(11);
        AddColumnCaps();
        ExpectCells({{x4, 5, z4, blocked ? 0 : TILE_COLUMN_CAP, blocked ? 0 : 3}, {x9, 10, z9, TILE_COLUMN_CAP, 1}});
    }

    // The fixture check plane: 3 x 3 cells across the outward direction through the target.
    const int outX[4] = {-1, 0, 1, 0}, outZ[4] = {0, 1, 0, -1};
    FixtureDraw f = FindFirstFixtureSeed(false);
    for (int o = 0; o < 4; o++) {
        int tx = f.x + outX[o], tz = f.z + outZ[o], ax = outZ[o] != 0, az = outX[o] != 0;  // a: along the face
        // Blockers from the target: none, the plane's upper corner, below the target; then two that
        // block nothing: just past the plane along the face, one further out.
        const int blockers[5][3] = {{0, 0, 0}, {ax, 1, az}, {0, -1, 0}, {2 * ax, 0, 2 * az}, {outX[o], 0, outZ[o]}};
        for (int b = 0; b < 5; b++) {
            SCOPED_TRACE(testing::Message() << "orientation " << o << " blocker " << b);
            ClearWorldGrid();
            Put(f.x, 4, f.z, TILE_THICK_WALL_COLUMN, o);
            if (b > 0)
                Put(tx + blockers[b][0], 4 + blockers[b][1], tz + blockers[b][2], TILE_FLOOR);
            srand(f.seed);
            AddColumnCaps();
            AddWallFixtures();
            bool placed = b == 0 || b >= 3;
            ExpectCells({{tx, 4, tz, placed ? f.kind : 0, placed ? o : 0},
                         {f.x, 4, f.z, placed ? TILE_WALL_COLUMN : TILE_THICK_WALL_COLUMN, o}});
        }
    }
}

TEST(FinishingDetails, WideFixturesKeepTwoCellsApartAndTurnTheirNeighbourColumns)
{
    // A column facing +z, with another fixture in its row at x + d beyond the target.
    auto run = [](const FixtureDraw& f, int d, int otherKind) {
        ClearWorldGrid();
        Put(f.x, 4, f.z, TILE_THICK_WALL_COLUMN, 1), Put(f.x + d, 4, f.z + 1, otherKind);
        srand(f.seed);
        AddColumnCaps();
        AddWallFixtures();
        return T(f.x, 4, f.z + 1);
    };
    FixtureDraw wide = FindFirstFixtureSeed(true), narrow = FindFirstFixtureSeed(false);
    EXPECT_EQ(run(wide, 2, TILE_WALL_FIXTURE_WIDE), TILE_EMPTY);
    EXPECT_EQ(T(wide.x, 4, wide.z), TILE_THICK_WALL_COLUMN);
    EXPECT_EQ(run(wide, -2, TILE_WALL_FIXTURE_WIDE), TILE_EMPTY);
    EXPECT_EQ(run(wide, 3, TILE_WALL_FIXTURE_WIDE), TILE_WALL_FIXTURE_WIDE);
    EXPECT_EQ(run(wide, 2, TILE_WALL_FIXTURE_1), TILE_WALL_FIXTURE_WIDE);
    EXPECT_EQ(run(narrow, 2, TILE_WALL_FIXTURE_WIDE), narrow.kind);

    // A placed wide fixture turns the thick-wall columns beside its column, tile byte only.
    ClearWorldGrid();
    Put(wide.x, 4, wide.z, TILE_THICK_WALL_COLUMN, 1), Put(wide.x - 1, 4, wide.z, TILE_THICK_WALL_COLUMN, 1);
    Put(wide.x + 1, 4, wide.z, TILE_THICK_WALL_COLUMN, 2), Put(wide.x, 4, wide.z - 1, TILE_THICK_WALL_COLUMN, 3);
    Put(wide.x + 1, 4, wide.z - 1, TILE_THICK_WALL_COLUMN, 1);  // diagonal
    srand(wide.seed);
    AddColumnCaps();
    AddWallFixtures();
    ExpectCells({{wide.x, 4, wide.z + 1, TILE_WALL_FIXTURE_WIDE, 1}, {wide.x - 1, 4, wide.z, TILE_WALL_COLUMN, 1},
                 {wide.x + 1, 4, wide.z, TILE_WALL_COLUMN, 2}, {wide.x, 4, wide.z - 1, TILE_WALL_COLUMN, 3},
                 {wide.x + 1, 4, wide.z - 1, TILE_THICK_WALL_COLUMN, 1}});
}
