#include "worldgen/edge_features_lifts.h"

#include <cstdlib>

#include "worldgen/world_random.h"

// Marks of the room-level plain floor cells not yet taken into a block, 0 or 1, index ColumnIndex(x, z).
// Scratch of the pass; its contents mean nothing outside it.
static uint8_t floorBlockMark[COLUMN_COUNT];

// A block of plain floor found from its corner cell (x0, z0): `length` floor cells along +x from the
// corner, `width` along +z; it covers rows x0..x0 + length - 1 and columns z0..z0 + width - 1.
struct FloorBlock {
    int x0;
    int z0;
    int length;
    int width;
};

namespace {

constexpr int CHANCE_FEATURE_ODDS = 5;

bool IsFloor(int x, int z) { return TileAt(x, ROOM_LAYER, z) == TILE_FLOOR; }

// The side cell (x, z) becomes an edge feature; only the tile byte changes, so the orientation of
// the floor piece it replaces stays.
void PlaceFeature(int x, int z)
{
    if (InGrid(x, z))
        GridCell(x, ROOM_LAYER, z).tileType = TILE_EDGE_FEATURE;
}

}  // namespace

// Marks every room-level plain floor cell and clears the other marks.
static void MarkFloorBlocks()
{
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++)
            floorBlockMark[ColumnIndex(x, z)] = IsFloor(x, z) ? 1 : 0;
}

// Goes on with the block scan from *scanPosition (ColumnIndex(x, z), start at 0): returns the next block whose
// corner is a marked cell still holding plain floor, after clearing the marks of the rectangle
// x0..x0 + length by z0..z0 + width; a marked cell that no longer holds plain floor loses its own mark.
// Returns false when the scan has reached the end.
static bool NextFloorBlock(int* scanPosition, FloorBlock* block)
{
    for (int p = *scanPosition; p < COLUMN_COUNT; p++) {
        if (!floorBlockMark[p])
            continue;
        int x0 = ColumnX(p);
        int z0 = ColumnZ(p);
        if (!IsFloor(x0, z0)) {
            floorBlockMark[p] = 0;
            continue;
        }
        int length = 1;
        while (IsFloor(x0 + length, z0))
            length++;
        int width = 1;
        while (IsFloor(x0, z0 + width))
            width++;
        // The block and one more row and column on its far sides lose their marks.
        int xEnd = x0 + length < GRID_SIZE_X ? x0 + length : GRID_SIZE_X - 1;
        int zEnd = z0 + width < GRID_SIZE_Z ? z0 + width : GRID_SIZE_Z - 1;
        for (int x = x0; x <= xEnd; x++)
            for (int z = z0; z <= zEnd; z++)
                floorBlockMark[ColumnIndex(x, z)] = 0;
        *block = FloorBlock{x0, z0, length, width};
        *scanPosition = p + 1;
        return true;
    }
    *scanPosition = COLUMN_COUNT;
    return false;
}

// Edge features of one block: a wall-tested feature on each side at one random position, then
// chance features at a second one (the first always placed when no wall test held).
static void PlaceEdgeFeatures(const FloorBlock& block)
{
    const int x0 = block.x0, z0 = block.z0, length = block.length, width = block.width;

    int xa = x0 + WorldRandom() % length;
    int za = z0 + WorldRandom() % width;
    int n = 0;
    // A side gets a feature where the wall beyond it has its core two cells further out.
    if (TileAt(x0 - 3, ROOM_LAYER, za) == TILE_WALL_CORE) {
        PlaceFeature(x0 - 1, za);
        n++;
    }
    if (TileAt(x0 + length + 2, ROOM_LAYER, za) == TILE_WALL_CORE) {
        PlaceFeature(x0 + length, za);
        n++;
    }
    if (TileAt(xa, ROOM_LAYER, z0 - 3) == TILE_WALL_CORE) {
        PlaceFeature(xa, z0 - 1);
        n++;
    }
    if (TileAt(xa, ROOM_LAYER, z0 + width + 2) == TILE_WALL_CORE) {
        PlaceFeature(xa, z0 + width);
        n++;
    }

    int xb = x0 + WorldRandom() % length;
    int zb = z0 + WorldRandom() % width;
    // Sides -x, +x, -z, +z at the second position: the first is certain while the block has no
    // feature yet; every other one takes a one-in-five draw.
    const int sideX[4] = {x0 - 1, x0 + length, xb, xb};
    const int sideZ[4] = {zb, zb, z0 - 1, z0 + width};
    for (int side = 0; side < 4; side++) {
        if (n == 0 || WorldRandom() % CHANCE_FEATURE_ODDS == 0) {
            PlaceFeature(sideX[side], sideZ[side]);
            n++;
        }
    }
}

// A lift at a random cell of the block: bottom on the room level, shaft up to the room's top.
static void PlaceLift(const FloorBlock& block)
{
    int xs = block.x0 + WorldRandom() % block.length;
    int zs = block.z0 + WorldRandom() % block.width;
    uint8_t r = (uint8_t)(WorldRandom() % 4);

    GridCell(xs, ROOM_LAYER, zs) = WorldCell{TILE_LIFT_BOTTOM, r};
    GridCell(xs, ROOM_LAYER + 1, zs) = WorldCell{TILE_LIFT_TOP, r};
    // The top climbs through the room's stack; each cell it leaves becomes shaft and keeps r.
    for (int y = ROOM_LAYER + 2; y <= TOP_LAYER; y++) {
        int above = TileAt(xs, y, zs);
        if (above != TILE_FLOOR && above != TILE_ROOM_TOP)
            break;
        GridCell(xs, y - 1, zs).tileType = TILE_LIFT_SHAFT;
        GridCell(xs, y, zs) = WorldCell{TILE_LIFT_TOP, r};
    }
}

void GenerateEdgeFeaturesAndLifts()
{
    FloorBlock block;
    int scan = 0;
    MarkFloorBlocks();
    while (NextFloorBlock(&scan, &block))
        PlaceEdgeFeatures(block);

    // Blocks are found afresh from the floor as the features left it.
    scan = 0;
    MarkFloorBlocks();
    while (NextFloorBlock(&scan, &block))
        PlaceLift(block);
}
