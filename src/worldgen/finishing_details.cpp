#include "worldgen/finishing_details.h"

#include <cstdlib>

#include "world/world_grid.h"
#include "worldgen/world_random.h"

namespace {

constexpr int CAP_ATTEMPTS = 59375;
constexpr int FIXTURE_ATTEMPTS = 50000;

// Tile codes of a few layers, index ColumnIndex(x, z): the random attempts test their drawn cell and the cells
// around it here, in tables small enough to stay in cache, instead of across the whole grid. Slot k
// holds the layer k above the one whose attempts are running.
uint8_t layerTiles[3][COLUMN_COUNT];

void CopyLayer(int slot, int y)
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            layerTiles[slot][ColumnIndex(x, z)] = worldGrid[CellIndex(x, y, z)].tileType;
}

// Tile code of (x, z) in a copied layer, read outside the grid as TileAt reads it.
int LayerT(int slot, int x, int z) { return InGrid(x, z) ? layerTiles[slot][ColumnIndex(x, z)] : (int)TILE_BOUNDARY; }

// Writes the tile byte of (x, y, z) and of its copy in slot 0.
void SetLayerTile(int x, int y, int z, uint8_t tile)
{
    GridCell(x, y, z).tileType = tile;
    layerTiles[0][ColumnIndex(x, z)] = tile;
}

// Draws a coordinate inside the boundary ring, 1..248 on either axis.
int DrawInnerCoordinate() { return WorldRandom() % INNER_LAST_X + 1; }

// True when no cell of the square of half-size `reach` around (x, z) on layer y holds `tile`.
bool SquareLacks(int x, int y, int z, int reach, int tile)
{
    for (int i = x - reach; i <= x + reach; i++)
        for (int k = z - reach; k <= z + reach; k++)
            if (TileAt(i, y, k) == tile)
                return false;
    return true;
}

// The ten cells a column cap needs empty: the column's cell and its 4-neighbours, one and two layers up
// (slots 1 and 2).
bool FreeAboveColumn(int x, int z)
{
    for (int slot = 1; slot <= 2; slot++)
        if (LayerT(slot, x, z) != TILE_EMPTY || LayerT(slot, x - 1, z) != TILE_EMPTY ||
            LayerT(slot, x + 1, z) != TILE_EMPTY || LayerT(slot, x, z - 1) != TILE_EMPTY ||
            LayerT(slot, x, z + 1) != TILE_EMPTY)
            return false;
    return true;
}

}  // namespace

// Every room-level rock cell becomes empty (tile byte only).
static void ClearRoomLevelRock()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            if (TileAt(x, ROOM_LAYER, z) == TILE_ROCK)
                GridCell(x, ROOM_LAYER, z).tileType = TILE_EMPTY;
}

// Layer-2 rock beside the foot of one wall becomes a rock edge, beside two perpendicular walls a rock corner.
static void AddRockEdges()
{
    for (int x = 1; x <= INNER_LAST_X; x++) {
        for (int z = 1; z <= INNER_LAST_Z; z++) {
            if (TileAt(x, CHANNEL_LAYER, z) != TILE_ROCK)
                continue;
            bool w = TileAt(x - 1, ROOM_LAYER, z) == TILE_WALL;
            bool e = TileAt(x + 1, ROOM_LAYER, z) == TILE_WALL;
            bool s = TileAt(x, ROOM_LAYER, z - 1) == TILE_WALL;
            bool n = TileAt(x, ROOM_LAYER, z + 1) == TILE_WALL;
            if (!w && !e && !s && !n)
                continue;
            // Later matches overwrite earlier ones: single walls first, then the corner pairs.
            uint8_t tile = TILE_ROCK_EDGE, orientation = 0;
            if (w) orientation = 0;
            if (e) orientation = 2;
            if (s) orientation = 3;
            if (n) orientation = 1;
            if (w && n) { tile = TILE_ROCK_CORNER; orientation = 0; }
            if (e && s) { tile = TILE_ROCK_CORNER; orientation = 2; }
            if (w && s) { tile = TILE_ROCK_CORNER; orientation = 3; }
            if (e && n) { tile = TILE_ROCK_CORNER; orientation = 1; }
            GridCell(x, CHANNEL_LAYER, z) = WorldCell{tile, orientation};
        }
    }
}

// A room top with a free neighbouring room top takes it in and becomes a double room top.
static void MergeRoomTops()
{
    // Partner directions in the order they are tried: t = 0..3 tries the side the double top's
    // base +z side turns to at orientation t, the orientation it then takes.
    for (int x = 2; x <= 247; x++) {
        for (int y = 1; y <= 13; y++) {
            for (int z = 2; z <= 247; z++) {
                if (TileAt(x, y, z) != TILE_ROOM_TOP || TileAt(x, y + 1, z) != TILE_EMPTY)
                    continue;
                if (!SquareLacks(x, y, z, 2, TILE_LIFT_TOP) || !SquareLacks(x, y, z, 3, TILE_ROOM_TOP_DOUBLE))
                    continue;
                for (int t = 0; t < ORIENTATION_COUNT; t++) {
                    int sx = SIDE_DX[PlusZSide(t)], sz = SIDE_DZ[PlusZSide(t)];
                    int px = x + sx, pz = z + sz;
                    if (TileAt(px, y, pz) == TILE_ROOM_TOP && TileAt(px, y + 1, pz) == TILE_EMPTY &&
                        TileAt(px + sx, y + 1, pz + sz) == TILE_EMPTY) {
                        GridCell(px, y, pz).tileType = TILE_EMPTY;
                        GridCell(x, y, z) = WorldCell{TILE_ROOM_TOP_DOUBLE, (uint8_t)t};
                        break;
                    }
                }
            }
        }
    }
}

// 59375 random attempts on each of layers 4..9 to cap a free-standing thick-wall column top.
static void AddColumnCaps()
{
    for (int y = 4; y <= 9; y++) {
        for (int slot = 0; slot < 3; slot++)
            CopyLayer(slot, y + slot);
        for (int attempt = 0; attempt < CAP_ATTEMPTS; attempt++) {
            int x = DrawInnerCoordinate();
            int z = DrawInnerCoordinate();
            if (layerTiles[0][ColumnIndex(x, z)] == TILE_THICK_WALL_COLUMN && FreeAboveColumn(x, z)) {
                // Caps land on layer y + 1 only: the copy of that layer follows.
                GridCell(x, y + 1, z) = WorldCell{TILE_COLUMN_CAP, GridCell(x, y, z).orientation};
                layerTiles[1][ColumnIndex(x, z)] = TILE_COLUMN_CAP;
            }
        }
    }
}

// 50000 random attempts on each of layers 4..8 to hang a fixture on the outer face of a thick-wall column.
static void AddWallFixtures()
{
    // Outward step of a column by its orientation: side o (-x, +z, +x, -z).
    const int* outX = SIDE_DX;
    const int* outZ = SIDE_DZ;
    for (int y = 4; y <= 8; y++) {
        CopyLayer(0, y);  // every change to layer y below goes through SetLayerTile
        for (int attempt = 0; attempt < FIXTURE_ATTEMPTS; attempt++) {
            int x = DrawInnerCoordinate();
            int z = DrawInnerCoordinate();
            if (layerTiles[0][ColumnIndex(x, z)] != TILE_THICK_WALL_COLUMN)
                continue;
            uint8_t kind = (uint8_t)(WorldRandom() % 4 + TILE_WALL_FIXTURE_1);
            int o = GridCell(x, y, z).orientation;
            if (o > 3)
                continue;  // no face to hang on; every generated column has a quarter-turn orientation
            int tx = x + outX[o], tz = z + outZ[o];
            // Along the wall face, across the outward direction.
            int ax = outZ[o] != 0 ? 1 : 0, az = outX[o] != 0 ? 1 : 0;
            if (kind == TILE_WALL_FIXTURE_WIDE && (TileAt(tx - 2 * ax, y, tz - 2 * az) == TILE_WALL_FIXTURE_WIDE ||
                                                   TileAt(tx + 2 * ax, y, tz + 2 * az) == TILE_WALL_FIXTURE_WIDE))
                continue;
            bool planeEmpty = true;
            for (int j = -1; j <= 1 && planeEmpty; j++)
                for (int i = -1; i <= 1; i++)
                    if (TileAt(tx + i * ax, y + j, tz + i * az) != TILE_EMPTY)
                        planeEmpty = false;
            if (!planeEmpty)
                continue;
            SetLayerTile(tx, y, tz, kind);
            GridCell(tx, y, tz).orientation = (uint8_t)o;
            SetLayerTile(x, y, z, TILE_WALL_COLUMN);
            if (kind == TILE_WALL_FIXTURE_WIDE) {
                const int nx[4] = {x - 1, x + 1, x, x};
                const int nz[4] = {z, z, z - 1, z + 1};
                for (int k = 0; k < 4; k++)
                    if (TileAt(nx[k], y, nz[k]) == TILE_THICK_WALL_COLUMN)
                        SetLayerTile(nx[k], y, nz[k], TILE_WALL_COLUMN);
            }
        }
    }
}

// A room-level wall with no wall core among its 4-neighbours becomes prop ground.
static void MarkFreeStandingWalls()
{
    for (int x = 2; x <= 247; x++)
        for (int z = 2; z <= 247; z++)
            if (TileAt(x, ROOM_LAYER, z) == TILE_WALL && TileAt(x - 1, ROOM_LAYER, z) != TILE_WALL_CORE &&
                TileAt(x + 1, ROOM_LAYER, z) != TILE_WALL_CORE && TileAt(x, ROOM_LAYER, z - 1) != TILE_WALL_CORE &&
                TileAt(x, ROOM_LAYER, z + 1) != TILE_WALL_CORE)
                GridCell(x, ROOM_LAYER, z).tileType = TILE_PROP_GROUND;
}

// A wall core with wall skin two cells away on both sides along one axis becomes a core centre.
static void MarkWallCoreCentres()
{
    for (int x = 2; x <= 247; x++)
        for (int z = 2; z <= 247; z++)
            if (TileAt(x, ROOM_LAYER, z) == TILE_WALL_CORE &&
                ((TileAt(x - 2, ROOM_LAYER, z) == TILE_WALL && TileAt(x + 2, ROOM_LAYER, z) == TILE_WALL) ||
                 (TileAt(x, ROOM_LAYER, z - 2) == TILE_WALL && TileAt(x, ROOM_LAYER, z + 2) == TILE_WALL)))
                GridCell(x, ROOM_LAYER, z).tileType = TILE_WALL_CORE_CENTRE;
}

void CloseWorldBoundary()
{
    for (int i = 0; i < CELL_COUNT; i++)
        if (worldGrid[i].tileType == TILE_BOUNDARY)
            worldGrid[i].tileType = TILE_EMPTY;
    const WorldCell boundary{TILE_BOUNDARY, 0};
    for (int x = 0; x < GRID_SIZE_X; x++) {
        for (int y = 0; y < GRID_LAYERS; y++) {
            if (x == 0 || x == GRID_SIZE_X - 1 || y == TOP_LAYER) {
                for (int z = 0; z < GRID_SIZE_Z; z++)
                    GridCell(x, y, z) = boundary;
            } else {
                GridCell(x, y, 0) = boundary;
                GridCell(x, y, GRID_SIZE_Z - 1) = boundary;
            }
        }
    }
}

void GenerateFinishingDetails()
{
    ClearRoomLevelRock();
    AddRockEdges();
    MergeRoomTops();
    AddColumnCaps();
    AddWallFixtures();
    MarkFreeStandingWalls();
    MarkWallCoreCentres();
    CloseWorldBoundary();
}
