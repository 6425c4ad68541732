// Tile models: one recipe per tile code, in the base orientation (the cell spans -5..5 on every axis).
//
// Heights a tile cell uses, relative to its centre:
//   -5..-4  floor slab; every walkable floor of the world is at -4, where a
//           collectable placed 3 units below the cell centre floats 1 unit up
//           and a prop placed 4 units below the centre stands
//    0      top of the lift pad, where the lift (underside at its origin) rests
//   +4..+5  roof and cave ceiling slabs; room tops are walkable at +5
#include "make_assets.h"

// ---- parts shared by several tiles (their floors at FLOOR_TOP and channel beds at CHANNEL_BED_TOP,
// which the world grid's header defines for the tools that walk them too)

static void FloorSlab() { AddBox(-5, 5, -5, FLOOR_TOP, -5, 5); }
static void RoofSlab() { AddBox(-5, 5, 4, 5, -5, 5); }
static void SolidCell() { AddBox(-5, 5, -5, 5, -5, 5); }

// A full-height wall panel on the -x side of the cell, standing on the floor.
static void WallMinusX() { AddBox(-5, -4, FLOOR_TOP, 5, -5, 5); }

// The wall on the +z side, meeting a -x wall at the corner without overlap.
static void WallPlusZ() { AddBox(-4, 5, FLOOR_TOP, 5, 4, 5); }

// A -x wall with a window 4 units wide, its sill 3 units above the floor.
static void WindowWallMinusX()
{
    AddBox(-5, -4, FLOOR_TOP, -1, -5, 5);
    AddBox(-5, -4, 2, 5, -5, 5);
    AddBox(-5, -4, -1, 2, -5, -2);
    AddBox(-5, -4, -1, 2, 2, 5);
}

// The same window in the +z wall (which starts at x = -4).
static void WindowWallPlusZ()
{
    AddBox(-4, 5, FLOOR_TOP, -1, 4, 5);
    AddBox(-4, 5, 2, 5, 4, 5);
    AddBox(-4, -1.5, -1, 2, 4, 5);
    AddBox(1.5, 5, -1, 2, 4, 5);
}

// A -x wall with a doorway 5 units wide and 6 tall.
static void DoorWallMinusX()
{
    AddBox(-5, -4, 2, 5, -5, 5);
    AddBox(-5, -4, FLOOR_TOP, 2, -5, -2.5);
    AddBox(-5, -4, FLOOR_TOP, 2, 2.5, 5);
}

// Two pilasters on the inner face of a thick wall.
static void Pilasters()
{
    AddBox(-4, -3, FLOOR_TOP, 5, -4.5, -3.5);
    AddBox(-4, -3, FLOOR_TOP, 5, 3.5, 4.5);
}

// Guide posts in the four corners of a lift cell, between heights y0 and y1.
static void LiftPosts(double y0, double y1)
{
    AddBox(-5, -4.4, y0, y1, -5, -4.4);
    AddBox(4.4, 5, y0, y1, -5, -4.4);
    AddBox(-5, -4.4, y0, y1, 4.4, 5);
    AddBox(4.4, 5, y0, y1, 4.4, 5);
}

// Floor and ceiling of an open cave cell: 8 units of headroom.
static void CaveFloorAndCeiling()
{
    FloorSlab();
    RoofSlab();
}

// A bridge deck 7 units wide running along x, with parapets 3 high: above the
// 2.25 of the player's centre, so a walking player is held and only a jump
// clears them.
static const double PARAPET_TOP = FLOOR_TOP + 3;

static void BridgeDeckX(double x0, double x1)
{
    AddBox(x0, x1, -5, FLOOR_TOP, -3.5, 3.5);
    AddBox(x0, x1, FLOOR_TOP, PARAPET_TOP, -3.5, -3);
    AddBox(x0, x1, FLOOR_TOP, PARAPET_TOP, 3, 3.5);
}

// ---- tile models, by code

static void TileEmpty() {}

static void TileBoundary() { SolidCell(); }

// Room columns stand on the storey floor and carry the room's outer walls,
// pierced by windows; they match the floor pieces of the room level below.
static void TileCornerColumn()
{
    FloorSlab();
    WindowWallMinusX();
    WindowWallPlusZ();
}

static void TileWallColumn()
{
    FloorSlab();
    WindowWallMinusX();
}

static void TileThickWallColumn()
{
    FloorSlab();
    WindowWallMinusX();
    Pilasters();
}

// The top storey of a room: its floor, and a roof that can be walked on.
static void TileRoomTop()
{
    FloorSlab();
    RoofSlab();
}

// Cave wall: a rock block whose +z face, toward the open cave, is rough. The
// cell on either side of the open one may be empty over nothing, so the
// recess before the rough face is closed at both ends by ribs from floor to
// ceiling: it leads only back into the open cell.
static void TileCaveWall()
{
    AddBox(-5, 5, -5, 5, -5, 3.5);
    AddBox(-5, 5, -5, FLOOR_TOP, 3.5, 5);
    AddBox(-5, 5, 4, 5, 3.5, 5);
    AddBox(-5, -4.5, FLOOR_TOP, 4, 3.5, 5);
    AddBox(4.5, 5, FLOOR_TOP, 4, 3.5, 5);
    AddBox(-4, -1, FLOOR_TOP, 1, 3.5, 4.5);
    AddBox(0.5, 3.5, -2, 3, 3.5, 4.2);
    AddBox(-2.5, 0, 1, 4, 3.5, 4.8);
}

// Paved ground on the centre line of a street, with a lamp post beside the
// cell's middle (where a collectable may float).
static void TileWallCoreCentre()
{
    FloorSlab();
    AddBox(-3.9, -3.1, FLOOR_TOP, 2.4, -3.9, -3.1);
    AddPyramid(-3.5, -3.5, 1.1, 4, 3, 4.2);
    AddPyramid(-3.5, -3.5, 1.1, 4, 3, 2.4);
}

// Street edge beside a building: flat paving, since props are scattered
// over the whole cell.
static void TileWall() { FloorSlab(); }

// Inner corner of a street: a bollard where the two kerbs meet at (+x, +z).
static void TileWallCorner()
{
    FloorSlab();
    AddBox(3.8, 5, FLOOR_TOP, -2, 3.8, 5);
}

static void TileWallCore() { FloorSlab(); }

// Outlet: the street opens over the whole cell onto the head of the channel
// below, 10.6 units down, with only a thin lip round the opening and a
// bollard at each corner. A walking player drops in, taking the collectable
// that floats over the opening on the way, and a held jump (about 17 units)
// from the channel bed, walking, carries them back out onto the street.
static const double OUTLET_LIP = 0.5;

static void TileWallOutlet()
{
    double inner = 5 - OUTLET_LIP;
    AddBox(-5, -inner, -5, FLOOR_TOP, -5, 5);
    AddBox(inner, 5, -5, FLOOR_TOP, -5, 5);
    AddBox(-inner, inner, -5, FLOOR_TOP, -5, -inner);
    AddBox(-inner, inner, -5, FLOOR_TOP, inner, 5);
    for (double x : {-5.0, inner})
        for (double z : {-5.0, inner}) AddBox(x, x + OUTLET_LIP, FLOOR_TOP, FLOOR_TOP + 1.2, z, z + OUTLET_LIP);
}

// Channel walkway with the tunnel wall on -x; the channel lies on +x.
static void TileChannelSide()
{
    AddBox(-4, 5, -5, FLOOR_TOP, -5, 5);
    AddBox(-5, -4, -5, 5, -5, 5);
}

static void TileChannel() { AddBox(-5, 5, -5, CHANNEL_BED_TOP, -5, 5); }

// Channel head below an outlet: the bed with a drain stone.
static void TileChannelHead()
{
    AddBox(-5, 5, -5, CHANNEL_BED_TOP, -5, 5);
    AddBox(-1.2, 1.2, CHANNEL_BED_TOP, -4.2, -1.2, 1.2);
}

// Only the tile editor places this one: a flight of four steps rising to +x.
static void TileSpare()
{
    for (int step = 0; step < 4; step++)
        AddBox(-5 + 2.5 * step, -2.5 + 2.5 * step, -5, -2.5 + 2.5 * step, -5, 5);
}

// A wide open cave cell: a stalagmite and a stalactite in opposite corners,
// leaving the middle (where a collectable may float) clear.
static void TileCaveOpenCentre()
{
    CaveFloorAndCeiling();
    AddPyramid(-2.6, -2.6, 1.8, 6, FLOOR_TOP, 0.5);
    AddPyramid(2.6, 2.6, 1.6, 6, 4, 0.2);
}

// Foot of a descent, facing +z into the cave: a corridor with a portal lintel.
static void TileCaveEntrance()
{
    CaveFloorAndCeiling();
    AddBox(-5, -3.5, FLOOR_TOP, 4, -5, 5);
    AddBox(3.5, 5, FLOOR_TOP, 4, -5, 5);
    AddBox(-3.5, 3.5, 2, 4, 3.5, 5);
}

static void TileCaveFloor() { CaveFloorAndCeiling(); }

static void TileCaveBlock() { SolidCell(); }

static void TileRock() { SolidCell(); }

// Descent top: the channel walkway with a doorway in its -x tunnel wall,
// where the ramp down to the cave starts.
static void TileDescentTop()
{
    AddBox(-5, 5, -5, FLOOR_TOP, -5, 5);
    AddBox(-5, -4, FLOOR_TOP, 5, -5, -4);
    AddBox(-5, -4, FLOOR_TOP, 5, 4, 5);
    AddBox(-5, -4, 3, 5, -4, 4);
}

// Descent ramp, running down toward +z over three cells: from 6 above the
// centre at z = -15 to the floor height at z = +15. Two such pieces, one on
// layer 1 and one on layer 0, lead from the channel walkway (16 world units
// up) to the cave floor (-4) without a step. The generator leaves the cells
// beside a descent empty over nothing, so the ramp is a closed tunnel: walls
// on both sides and a roof 6 above the ramp, under the doorway's lintel at
// the top and level with the cave entrance's at the foot. No walk or jump
// leaves it but through its ends.
static const double RAMP_HALF_LENGTH = 15.0;
static const double RAMP_HIGH_TOP = 6.0;
static const double RAMP_HEADROOM = 6.0;

static void TileDescentRamp()
{
    double z0 = -RAMP_HALF_LENGTH, z1 = RAMP_HALF_LENGTH;
    double high = RAMP_HIGH_TOP, low = FLOOR_TOP, room = RAMP_HEADROOM;
    AddSlopedSlabZ(-4, 4, z0, z1, high - 1, high, low - 1, low);
    AddSlopedSlabZ(-5, -4, z0, z1, high - 1, high + room + 1, low - 1, low + room + 1);
    AddSlopedSlabZ(4, 5, z0, z1, high - 1, high + room + 1, low - 1, low + room + 1);
    AddSlopedSlabZ(-4, 4, z0, z1, high + room, high + room + 1, low + room, low + room + 1);
}

// Room-level floors: the slab, and the room's outer walls at ground level.
static void TileCornerFloor()
{
    FloorSlab();
    WallMinusX();
    WallPlusZ();
}

static void TileWallFloor()
{
    FloorSlab();
    WallMinusX();
}

static void TileThickWallFloor()
{
    FloorSlab();
    WallMinusX();
    Pilasters();
}

// Edge feature: a doorway through the room's -x wall onto the street.
static void TileEdgeFeature()
{
    FloorSlab();
    DoorWallMinusX();
    AddBox(-4, -3.4, FLOOR_TOP, 2.6, -3.3, -2.5);
    AddBox(-4, -3.4, FLOOR_TOP, 2.6, 2.5, 3.3);
    AddBox(-4, -3.4, 2, 2.6, -2.5, 2.5);
}

static void TileFloor() { FloorSlab(); }

// Walkway in the bend of a channel (channels on +x and -z); the tunnel walls
// of the neighbouring walkways meet at its (-x, +z) corner.
static void TileChannelInnerCorner()
{
    AddBox(-5, 5, -5, FLOOR_TOP, -5, 5);
    AddBox(-5, -4, FLOOR_TOP, 5, 4, 5);
}

// Walkway at the outer elbow of a channel (channel diagonal at +x, -z): the
// tunnel walls of both neighbours continue round its -x and +z sides.
static void TileChannelOuterCorner()
{
    AddBox(-4, 5, -5, FLOOR_TOP, -5, 4);
    AddBox(-5, -4, -5, 5, -5, 5);
    AddBox(-4, 5, -5, 5, 4, 5);
}

// Cave partition between open cells on -z and +z: a rock wall along x with a
// doorway through its middle, so that the cave on either side leads on to the
// other (a line of partitions may close a stretch of cave all round).
// The cave layer has nothing below it, and the cell where a line of
// partitions ends may be empty; ribs from floor to ceiling close the walkways
// beside the wall at both ends of the cell, so they lead only back into the
// open cave on either side.
static const double PARTITION_DOOR_HALF_WIDTH = 2.0, PARTITION_DOOR_TOP = 1.5;

static void TileCavePartition()
{
    CaveFloorAndCeiling();
    double door = PARTITION_DOOR_HALF_WIDTH;
    AddBox(-5, -door, FLOOR_TOP, 4, -2.5, 2.5);
    AddBox(door, 5, FLOOR_TOP, 4, -2.5, 2.5);
    AddBox(-door, door, PARTITION_DOOR_TOP, 4, -2.5, 2.5);
    for (double x0 : {-5.0, 4.5}) {
        AddBox(x0, x0 + 0.5, FLOOR_TOP, 4, -5, -2.5);
        AddBox(x0, x0 + 0.5, FLOOR_TOP, 4, 2.5, 5);
    }
}

// One-cell bridge across a thin wall, running along x. The two room columns
// at its ends were removed, so it also floors those cells and closes their
// walls with doorways.
static void TileBridgeShort()
{
    BridgeDeckX(-5, 5);
    AddBox(5, 15, -5, FLOOR_TOP, -5, 5);
    AddBox(-15, -5, -5, FLOOR_TOP, -5, 5);
    for (int side = -1; side <= 1; side += 2) {
        double x0 = side > 0 ? 5 : -6, x1 = side > 0 ? 6 : -5;
        AddBox(x0, x1, 2, 5, -5, 5);
        AddBox(x0, x1, FLOOR_TOP, 2, -5, -2.5);
        AddBox(x0, x1, FLOOR_TOP, 2, 2.5, 5);
    }
}

// Lift bottom: a stepped pad on which the lift rests (pad top at the cell
// centre, the lift's deck 1 above it), with guide posts in the corners, and a
// ramp from the floor of each of the four neighbouring cells up to the pad,
// so that a player walks on from whichever side the room's floor reaches it.
// The ramps end at the pad rather than at the deck, which leaves a player on
// them room under the floor of the storey above; under the upper end of each,
// rock fills the cell down to its bottom: a lift coming down on a player at
// the pad's edge pushes them into rock, which puts them back on top, never
// through the thin ramp into the space below it. The lift itself stays above
// its origin: one that waits for a player below it then hangs clear of their
// head.
static const double LIFT_PAD_EDGE = 4.4;   // half the width of the pad, where the ramps end
static const double LIFT_RAMP_FAR = 15.0;  // where the ramps start: the far side of the neighbouring cell
static const double LIFT_RAMP_ROCK = 1.6;  // how far the rock under a ramp reaches out from the pad

static void TileLiftBottom()
{
    const double edge = LIFT_PAD_EDGE, far = LIFT_RAMP_FAR;
    FloorSlab();
    AddBox(-edge, edge, FLOOR_TOP, -2, -edge, edge);
    AddBox(-4.1, 4.1, -2, 0, -4.1, 4.1);
    LiftPosts(FLOOR_TOP, 5);
    double low = -5, lowTop = FLOOR_TOP, high = -1, highTop = 0;
    AddSlopedSlabX(-far, -edge, -4, 4, low, lowTop, high, highTop);
    AddSlopedSlabX(edge, far, -4, 4, high, highTop, low, lowTop);
    AddSlopedSlabZ(-4, 4, -far, -edge, low, lowTop, high, highTop);
    AddSlopedSlabZ(-4, 4, edge, far, high, highTop, low, lowTop);
    // Rock under each ramp's upper end, from the bottom of the cell up to where the ramp's
    // underside is at the rock's outer end.
    double rock = edge + LIFT_RAMP_ROCK, rockTop = low + (high - low) * (far - rock) / (far - edge);
    AddBox(-rock, -edge, -5, rockTop, -4, 4);
    AddBox(edge, rock, -5, rockTop, -4, 4);
    AddBox(-4, 4, -5, rockTop, -rock, -edge);
    AddBox(-4, 4, -5, rockTop, edge, rock);
}

// Lift shaft: open, with guide posts in the corners.
static void TileLiftShaft() { LiftPosts(-5, 5); }

// Lift top: guide posts under the roof of the room.
static void TileLiftTop()
{
    LiftPosts(-5, 4);
    RoofSlab();
}

// Layer-2 rock beside the foot of a wall on -x: its edge on that side is
// stepped down.
static void TileRockEdge()
{
    AddBox(-5, 5, -5, 4.4, -5, 5);
    AddBox(-3, 5, 4.4, 5, -5, 5);
}

// Bridge end: a room column whose -x wall has a doorway onto the bridge.
static void TileBridgeEnd()
{
    FloorSlab();
    DoorWallMinusX();
    AddBox(-4, -3.2, 2, 3, -3.5, 3.5);
}

static void TileBridgeSpan() { BridgeDeckX(-5, 5); }

// Layer-2 rock beside the feet of walls on -x and +z: both edges stepped down.
static void TileRockCorner()
{
    AddBox(-5, 5, -5, 4.4, -5, 5);
    AddBox(-3, 5, 4.4, 5, -5, 3);
}

// Free-standing wall ground: plain paving on which props are scattered.
static void TilePropGround() { FloorSlab(); }

// Double room top: the top storey of this cell and of the one on +z (which
// it takes in), roofed together, with a gabled roof rising into the layer above.
static void TileRoomTopDouble()
{
    AddBox(-5, 5, -5, FLOOR_TOP, -5, 15);
    AddBox(-5, 5, 4, 5, -5, 15);
    AddGableZ(-4, 4, 5, 7.5, -4, 14);
}

// Wall fixtures hang on a column wall just beyond the cell's +x side.
// 1: a small balcony with railings.
static void TileWallFixture1()
{
    AddBox(1, 5, -2, -1, -3, 3);
    AddBox(1, 1.5, -1, 0.5, -3, 3);
    AddBox(1.5, 5, -1, 0.5, -3, -2.5);
    AddBox(1.5, 5, -1, 0.5, 2.5, 3);
    AddPyramid(3, 0, 2.2, 4, -2, -4.5);
}

// 2: a lantern on a bracket.
static void TileWallFixture2()
{
    AddBox(2.6, 5, 2.2, 2.8, -0.3, 0.3);
    AddBox(1.8, 3.4, -1.6, 1, -0.8, 0.8);
    AddPyramid(2.6, 0, 1.3, 4, 1, 2.2);
    AddPyramid(2.6, 0, 1.3, 4, -1.6, -2.6);
}

// 3: a stepped buttress.
static void TileWallFixture3()
{
    AddBox(1.5, 5, -5, -1, -1.2, 1.2);
    AddBox(3, 5, -1, 3, -1.2, 1.2);
    AddBox(4, 5, 3, 5, -1.2, 1.2);
}

// Wide fixture: a framed relief three cells long with a boss at its centre.
static void TileWallFixtureWide()
{
    AddBox(4.2, 5, -4, 4, -14, 14);
    AddBox(3.4, 4.2, 3, 4, -14, 14);
    AddBox(3.4, 4.2, -4, -3, -14, 14);
    AddBox(3.4, 4.2, -3, 3, -14, -13);
    AddBox(3.4, 4.2, -3, 3, 13, 14);
    AddBox(3.8, 4.2, -0.5, 0.5, -12, -1.5);
    AddBox(3.8, 4.2, -0.5, 0.5, 1.5, 12);
    AddBox(3.2, 4.2, -1.5, 1.5, -1.5, 1.5);
    AddBox(2.6, 3.2, -0.8, 0.8, -0.8, 0.8);
}

// Column cap: coping and two merlons on top of the wall on -x.
static void TileColumnCap()
{
    AddBox(-5, -3.2, -5, -4.2, -5, 5);
    AddBox(-5, -3.6, -4.2, -2, -4.5, -1.5);
    AddBox(-5, -3.6, -4.2, -2, 1.5, 4.5);
}

// ---- the recipe table

// Keyed by the game's tile codes; each name goes into the first line of its model's file.
constexpr ModelRecipe TILE_RECIPES[TILE_TYPE_COUNT] = {
    {TILE_EMPTY, TileEmpty, "empty"},
    {TILE_BOUNDARY, TileBoundary, "boundary block"},
    {TILE_CORNER_COLUMN, TileCornerColumn, "corner column: walls on -x and +z"},
    {TILE_WALL_COLUMN, TileWallColumn, "wall column: wall on -x"},
    {TILE_THICK_WALL_COLUMN, TileThickWallColumn, "thick wall column: wall on -x"},
    {TILE_ROOM_TOP, TileRoomTop, "room top: top storey with a walkable roof"},
    {TILE_CAVE_WALL, TileCaveWall, "cave wall: open cave on +z"},
    {TILE_WALL_CORE_CENTRE, TileWallCoreCentre, "street centre line with a lamp post"},
    {TILE_WALL, TileWall, "street edge beside a building"},
    {TILE_WALL_CORNER, TileWallCorner, "street inner corner: cores on -x and -z"},
    {TILE_WALL_CORE, TileWallCore, "street paving"},
    {TILE_WALL_OUTLET, TileWallOutlet, "outlet into the channel below, run along z"},
    {TILE_CHANNEL_SIDE, TileChannelSide, "channel walkway: channel on +x"},
    {TILE_CHANNEL, TileChannel, "channel bed"},
    {TILE_CHANNEL_HEAD, TileChannelHead, "channel head, run along z"},
    {TILE_SPARE, TileSpare, "steps"},
    {TILE_CAVE_OPEN_CENTRE, TileCaveOpenCentre, "open cave with a stalagmite and a stalactite"},
    {TILE_CAVE_ENTRANCE, TileCaveEntrance, "cave entrance facing +z"},
    {TILE_CAVE_FLOOR, TileCaveFloor, "cave floor"},
    {TILE_CAVE_BLOCK, TileCaveBlock, "cave block"},
    {TILE_ROCK, TileRock, "rock"},
    {TILE_DESCENT_TOP, TileDescentTop, "descent top: channel on +x, descent toward -x"},
    {TILE_DESCENT_RAMP, TileDescentRamp, "descent ramp down toward +z"},
    {TILE_CORNER_FLOOR, TileCornerFloor, "corner floor: walls on -x and +z"},
    {TILE_WALL_FLOOR, TileWallFloor, "wall floor: wall on -x"},
    {TILE_THICK_WALL_FLOOR, TileThickWallFloor, "thick wall floor: wall on -x"},
    {TILE_EDGE_FEATURE, TileEdgeFeature, "edge feature: doorway on -x"},
    {TILE_FLOOR, TileFloor, "floor"},
    {TILE_CHANNEL_INNER_CORNER, TileChannelInnerCorner, "channel inner corner: channels on +x and -z"},
    {TILE_CHANNEL_OUTER_CORNER, TileChannelOuterCorner, "channel outer corner: channel at +x -z"},
    {TILE_CAVE_PARTITION, TileCavePartition, "cave partition: open on -z and +z"},
    {TILE_BRIDGE_SHORT, TileBridgeShort, "short bridge along x"},
    {TILE_LIFT_BOTTOM, TileLiftBottom, "lift bottom"},
    {TILE_LIFT_SHAFT, TileLiftShaft, "lift shaft"},
    {TILE_LIFT_TOP, TileLiftTop, "lift top"},
    {TILE_ROCK_EDGE, TileRockEdge, "rock edge: wall foot on -x"},
    {TILE_BRIDGE_END, TileBridgeEnd, "bridge end: doorway on -x"},
    {TILE_BRIDGE_SPAN, TileBridgeSpan, "bridge span along x"},
    {TILE_ROCK_CORNER, TileRockCorner, "rock corner: wall feet on -x and +z"},
    {TILE_PROP_GROUND, TilePropGround, "prop ground"},
    {TILE_ROOM_TOP_DOUBLE, TileRoomTopDouble, "double room top: takes in the cell on +z"},
    {TILE_WALL_FIXTURE_1, TileWallFixture1, "wall fixture: balcony on a wall at +x"},
    {TILE_WALL_FIXTURE_2, TileWallFixture2, "wall fixture: lantern on a wall at +x"},
    {TILE_WALL_FIXTURE_3, TileWallFixture3, "wall fixture: buttress on a wall at +x"},
    {TILE_WALL_FIXTURE_WIDE, TileWallFixtureWide, "wide wall fixture: relief on a wall at +x"},
    {TILE_COLUMN_CAP, TileColumnCap, "column cap: merlons over the wall on -x"},
};
static_assert(HoldsEachCodeOnce(TILE_RECIPES, TILE_TYPE_COUNT),
              "TILE_RECIPES needs exactly one recipe for each tile code 0..TILE_TYPE_COUNT-1, in code order");
