// Room edge features and lifts pass: features on the floor ring of each plain-floor block, one lift per block.
#pragma once

#include <cstdint>

#include "world/world_grid.h"

// Marks of the room-level plain floor cells not yet taken into a block, 0 or 1, index ColumnIndex(x, z).
// Scratch of the pass; its contents mean nothing outside it.
extern uint8_t floorBlockMark[COLUMN_COUNT];

// A block of plain floor found from its corner cell (x0, z0): `length` floor cells along +x from the
// corner, `width` along +z; it covers rows x0..x0 + length - 1 and columns z0..z0 + width - 1.
struct FloorBlock {
    int x0;
    int z0;
    int length;
    int width;
};

// Places the edge features of every floor block, then stands one lift in every block (draws WorldRandom()).
void GenerateEdgeFeaturesAndLifts();

// The steps of GenerateEdgeFeaturesAndLifts.

// Marks every room-level plain floor cell and clears the other marks.
void MarkFloorBlocks();
// Goes on with the block scan from *scanPosition (ColumnIndex(x, z), start at 0): returns the next block whose
// corner is a marked cell still holding plain floor, after clearing the marks of the rectangle
// x0..x0 + length by z0..z0 + width; a marked cell that no longer holds plain floor loses its own mark.
// Returns false when the scan has reached the end.
bool NextFloorBlock(int* scanPosition, FloorBlock* block);
// Edge features of one block: a wall-tested feature on each side at one random position, then
// chance features at a second one (the first always placed when no wall test held).
void PlaceEdgeFeatures(const FloorBlock& block);
// A lift at a random cell of the block: bottom on the room level, shaft up to the room's top.
void PlaceLift(const FloorBlock& block);
