#include "worldgen/channels.h"

#include <cstdlib>
#include <vector>

#include "world/world_grid.h"
#include "worldgen/room_level.h"
#include "worldgen/world_random.h"

namespace {

bool IsChannel(int x, int z) { return TileAt(x, CHANNEL_LAYER, z) == TILE_CHANNEL; }

// Runs a channel from the cell after (x, z) toward (dx, dz): every empty cell becomes
// channel (tile byte only) up to the first non-empty cell or the edge of the grid.
void RunChannel(int x, int z, int dx, int dz)
{
    x += dx;
    z += dz;
    while (TileAt(x, CHANNEL_LAYER, z) == TILE_EMPTY) {
        GridCell(x, CHANNEL_LAYER, z).tileType = TILE_CHANNEL;
        x += dx;
        z += dz;
    }
}

void MakeOutlet(int a, int b, uint8_t orientation)
{
    GridCell(a, ROOM_LAYER, b) = WorldCell{TILE_WALL_OUTLET, orientation};
    GridCell(a, CHANNEL_LAYER, b) = WorldCell{TILE_CHANNEL, orientation};
}

// True when the empty-or-not cell (x, z) lies between two channel cells along x or z.
bool BridgesGap(int x, int z)
{
    return (IsChannel(x - 1, z) && IsChannel(x + 1, z)) || (IsChannel(x, z - 1) && IsChannel(x, z + 1));
}

}  // namespace

// Tests the wall core cell (a, b) for an outlet along z, then along x; each test that
// holds makes the outlet, the channel cell below it and a channel run (one draw each).
static void TryOutlet(int a, int b)
{
    if (TileAt(a, ROOM_LAYER, b) != TILE_WALL_CORE)
        return;
    // A wall running along z: skin two cells away on both x sides, core along z.
    if (TileAt(a - 2, ROOM_LAYER, b) == TILE_WALL && TileAt(a + 2, ROOM_LAYER, b) == TILE_WALL &&
        TileAt(a, ROOM_LAYER, b - 1) == TILE_WALL_CORE && TileAt(a, ROOM_LAYER, b + 1) == TILE_WALL_CORE) {
        MakeOutlet(a, b, 0);
        int r = WorldRandom() % 2;
        RunChannel(a, b, 0, r == 0 ? 1 : -1);
    }
    // A wall running along x; the cell need not still be core.
    if (TileAt(a, ROOM_LAYER, b - 2) == TILE_WALL && TileAt(a, ROOM_LAYER, b + 2) == TILE_WALL &&
        TileAt(a - 1, ROOM_LAYER, b) == TILE_WALL_CORE && TileAt(a + 1, ROOM_LAYER, b) == TILE_WALL_CORE) {
        MakeOutlet(a, b, 1);
        int r = WorldRandom() % 2;
        RunChannel(a, b, r == 0 ? 1 : -1, 0);
    }
}

// The 6250 random outlet attempts.
static void PlaceOutletsAndChannels()
{
    for (int n = 0; n < OUTLET_ATTEMPTS; n++) {
        int a = WorldRandom() % GRID_SIZE_X;
        int b = WorldRandom() % GRID_SIZE_Z;
        TryOutlet(a, b);
    }
}

void TrimChannelsAtRock()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++) {
            if (TileAt(x, CHANNEL_LAYER, z) != TILE_CHANNEL)
                continue;
            bool nearRock = false;
            for (int dx = -1; dx <= 1; dx++)
                for (int dz = -1; dz <= 1; dz++)
                    if ((dx != 0 || dz != 0) && TileAt(x + dx, CHANNEL_LAYER, z + dz) == TILE_ROCK)
                        nearRock = true;
            if (nearRock)
                GridCell(x, CHANNEL_LAYER, z).tileType = TILE_EMPTY;
        }
}

void CloseChannelGaps()
{
    // Filling only adds channel cells and a cell's test only asks for channel cells, so
    // every order of fills ends at the same, smallest closed set: the one the rescanning
    // method reaches. A fill can only make one of its four neighbours fillable, so those
    // are the only cells to look at again.
    std::vector<int> pending;  // packed ColumnIndex(x, z) of the cells to test
    pending.reserve(1024);
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            if (TileAt(x, CHANNEL_LAYER, z) == TILE_EMPTY && BridgesGap(x, z))
                pending.push_back(ColumnIndex(x, z));
    while (!pending.empty()) {
        int packed = pending.back();
        pending.pop_back();
        int x = ColumnX(packed), z = ColumnZ(packed);
        if (TileAt(x, CHANNEL_LAYER, z) != TILE_EMPTY || !BridgesGap(x, z))
            continue;
        GridCell(x, CHANNEL_LAYER, z).tileType = TILE_CHANNEL;
        const int step[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (const auto& s : step) {
            int nx = x + s[0], nz = z + s[1];
            if (TileAt(nx, CHANNEL_LAYER, nz) == TILE_EMPTY && BridgesGap(nx, nz))
                pending.push_back(ColumnIndex(nx, nz));
        }
    }
}

// Turns empty cells beside channels into side, inner corner and outer corner pieces.
static void AddChannelSidesAndCorners()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++) {
            if (TileAt(x, CHANNEL_LAYER, z) != TILE_EMPTY)
                continue;
            WorldCell& c = GridCell(x, CHANNEL_LAYER, z);
            bool e = IsChannel(x + 1, z), w = IsChannel(x - 1, z);
            bool n = IsChannel(x, z + 1), s = IsChannel(x, z - 1);
            auto put = [&c](TileCode t, uint8_t o) { c.tileType = t; c.orientation = o; };
            if (e) put(TILE_CHANNEL_SIDE, 0);
            if (w) put(TILE_CHANNEL_SIDE, 2);
            if (n) put(TILE_CHANNEL_SIDE, 3);
            if (s) put(TILE_CHANNEL_SIDE, 1);
            if (e && n) put(TILE_CHANNEL_INNER_CORNER, 3);
            if (e && s) put(TILE_CHANNEL_INNER_CORNER, 0);
            if (w && n) put(TILE_CHANNEL_INNER_CORNER, 2);
            if (w && s) put(TILE_CHANNEL_INNER_CORNER, 1);
            if (!e && !w && !n && !s) {
                bool en = IsChannel(x + 1, z + 1), es = IsChannel(x + 1, z - 1);
                bool wn = IsChannel(x - 1, z + 1), ws = IsChannel(x - 1, z - 1);
                if (en + es + wn + ws == 1) {
                    if (en) put(TILE_CHANNEL_OUTER_CORNER, 3);
                    if (es) put(TILE_CHANNEL_OUTER_CORNER, 0);
                    if (wn) put(TILE_CHANNEL_OUTER_CORNER, 2);
                    if (ws) put(TILE_CHANNEL_OUTER_CORNER, 1);
                }
            }
        }
}

// Puts a channel head under every outlet.
static void MarkChannelHeads()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            if (TileAt(x, ROOM_LAYER, z) == TILE_WALL_OUTLET)
                GridCell(x, CHANNEL_LAYER, z).tileType = TILE_CHANNEL_HEAD;
}

void GenerateChannels()
{
    PlaceOutletsAndChannels();
    TrimChannelsAtRock();
    CloseChannelGaps();
    AddChannelSidesAndCorners();
    MarkChannelHeads();
}
