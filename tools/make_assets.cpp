// Asset generator: writes every file of Media/ (tile and entity models, the world texture, the interface atlas).
//
// Usage: make_assets [output root]   (default: the working directory)
// The root must already hold Media/worldtiles and Media/entities folders or be
// writable so that they can be made.
//
// Models are built from closed solids (boxes, sloped slabs, prisms, pyramids),
// each face counter-clockwise seen from outside. Large faces are cut into
// patches of at most 5 units so that the one world texture, stretched over
// every triangle, keeps a steady scale. Every patch is two right-angled
// triangles whose right angle is corner 0, matching the fixed texture pattern
// (0, 1), (1, 1), (0, 0) that the game gives each triangle.
//
// Heights a tile cell uses, relative to its centre (the cell spans -5..5):
//   -5..-4  floor slab; every walkable floor of the world is at -4, where a
//           collectable placed 3 units below the cell centre floats 1 unit up
//           and a prop placed 4 units below the centre stands
//    0      top of the lift pad, where the lift (underside at its origin) rests
//   +4..+5  roof and cave ceiling slabs; room tops are walkable at +5
#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

// ---------------------------------------------------------------------------
// Geometry

struct Point {
    double x, y, z;
};

struct Triangle {
    Point corner[3];
};

static const double PI = 3.14159265358979323846;

// The model being built; each builder appends to it.
static std::vector<Triangle> modelTriangles;

// Largest edge of a texture patch in world units.
static const double PATCH_SIZE = 5.0;

static Point Add(Point a, Point b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
static Point Sub(Point a, Point b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
static Point Scale(Point a, double s) { return {a.x * s, a.y * s, a.z * s}; }
static double Dot(Point a, Point b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
static double Length(Point a) { return std::sqrt(Dot(a, a)); }
static Point Cross(Point a, Point b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Bilinear point of the quad a, b, c, d (s along a->b, t along a->d).
static Point QuadPoint(Point a, Point b, Point c, Point d, double s, double t)
{
    Point bottom = Add(a, Scale(Sub(b, a), s));
    Point top = Add(d, Scale(Sub(c, d), s));
    return Add(bottom, Scale(Sub(top, bottom), t));
}

// A planar quad a, b, c, d, counter-clockwise seen from the side it faces,
// cut into patches no longer than PATCH_SIZE on either side.
static void AddQuad(Point a, Point b, Point c, Point d)
{
    double lengthS = std::max(Length(Sub(b, a)), Length(Sub(c, d)));
    double lengthT = std::max(Length(Sub(d, a)), Length(Sub(c, b)));
    int stepsS = std::max(1, (int)std::ceil(lengthS / PATCH_SIZE - 1e-9));
    int stepsT = std::max(1, (int)std::ceil(lengthT / PATCH_SIZE - 1e-9));
    for (int i = 0; i < stepsS; i++) {
        for (int j = 0; j < stepsT; j++) {
            double s0 = (double)i / stepsS, s1 = (double)(i + 1) / stepsS;
            double t0 = (double)j / stepsT, t1 = (double)(j + 1) / stepsT;
            Point p00 = QuadPoint(a, b, c, d, s0, t0);
            Point p10 = QuadPoint(a, b, c, d, s1, t0);
            Point p11 = QuadPoint(a, b, c, d, s1, t1);
            Point p01 = QuadPoint(a, b, c, d, s0, t1);
            modelTriangles.push_back({{p00, p10, p01}});
            modelTriangles.push_back({{p11, p01, p10}});
        }
    }
}

// A quad given in any winding, turned so that it faces along outward.
static void AddQuadFacing(Point a, Point b, Point c, Point d, Point outward)
{
    if (Dot(Cross(Sub(b, a), Sub(d, a)), outward) >= 0)
        AddQuad(a, b, c, d);
    else
        AddQuad(a, d, c, b);
}

// A triangle given in any winding, turned so that it faces along outward.
static void AddTriangleFacing(Point a, Point b, Point c, Point outward)
{
    if (Dot(Cross(Sub(b, a), Sub(c, a)), outward) >= 0)
        modelTriangles.push_back({{a, b, c}});
    else
        modelTriangles.push_back({{a, c, b}});
}

// A closed solid between two horizontal quad outlines: bottom[k] lies under
// top[k]; both outlines go counter-clockwise seen from above. Used for boxes,
// sloped slabs and frusta.
static void AddHexahedron(const Point bottom[4], const Point top[4])
{
    Point centre = {0, 0, 0};
    for (int k = 0; k < 4; k++)
        centre = Add(centre, Scale(Add(bottom[k], top[k]), 0.125));
    AddQuadFacing(top[0], top[1], top[2], top[3], {0, 1, 0});
    AddQuadFacing(bottom[0], bottom[3], bottom[2], bottom[1], {0, -1, 0});
    for (int k = 0; k < 4; k++) {
        int n = (k + 1) % 4;
        Point faceCentre = Scale(Add(Add(bottom[k], bottom[n]), Add(top[k], top[n])), 0.25);
        AddQuadFacing(bottom[k], bottom[n], top[n], top[k], Sub(faceCentre, centre));
    }
}

// An axis-aligned box.
static void AddBox(double x0, double x1, double y0, double y1, double z0, double z1)
{
    Point bottom[4] = {{x0, y0, z0}, {x0, y0, z1}, {x1, y0, z1}, {x1, y0, z0}};
    Point top[4] = {{x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}};
    AddHexahedron(bottom, top);
}

// A slab running along z from z0 to z1 whose bottom and top heights change
// linearly from (bottom0, top0) at z0 to (bottom1, top1) at z1.
static void AddSlopedSlabZ(double x0, double x1, double z0, double z1, double bottom0, double top0,
                           double bottom1, double top1)
{
    Point bottom[4] = {{x0, bottom0, z0}, {x0, bottom1, z1}, {x1, bottom1, z1}, {x1, bottom0, z0}};
    Point top[4] = {{x0, top0, z0}, {x0, top1, z1}, {x1, top1, z1}, {x1, top0, z0}};
    AddHexahedron(bottom, top);
}

// The same along x: heights change linearly from (bottom0, top0) at x0 to
// (bottom1, top1) at x1.
static void AddSlopedSlabX(double x0, double x1, double z0, double z1, double bottom0, double top0,
                           double bottom1, double top1)
{
    Point bottom[4] = {{x0, bottom0, z0}, {x0, bottom0, z1}, {x1, bottom1, z1}, {x1, bottom1, z0}};
    Point top[4] = {{x0, top0, z0}, {x0, top0, z1}, {x1, top1, z1}, {x1, top1, z0}};
    AddHexahedron(bottom, top);
}

// A closed upright prism of the given number of sides around (cx, cz).
static void AddPrism(double cx, double cz, double radius, int sides, double y0, double y1)
{
    Point centreBottom = {cx, y0, cz}, centreTop = {cx, y1, cz};
    for (int k = 0; k < sides; k++) {
        double a0 = 2 * PI * k / sides, a1 = 2 * PI * (k + 1) / sides;
        Point b0 = {cx + radius * std::cos(a0), y0, cz + radius * std::sin(a0)};
        Point b1 = {cx + radius * std::cos(a1), y0, cz + radius * std::sin(a1)};
        Point t0 = {b0.x, y1, b0.z}, t1 = {b1.x, y1, b1.z};
        Point out = {std::cos(a0) + std::cos(a1), 0, std::sin(a0) + std::sin(a1)};
        AddQuadFacing(b0, b1, t1, t0, out);
        AddTriangleFacing(centreTop, t0, t1, {0, 1, 0});
        AddTriangleFacing(centreBottom, b0, b1, {0, -1, 0});
    }
}

// A closed pyramid: a ring of points at height y0 (radius, sides) and an apex.
static void AddPyramid(double cx, double cz, double radius, int sides, double y0, double apexY)
{
    Point apex = {cx, apexY, cz}, centreBase = {cx, y0, cz};
    double up = apexY > y0 ? 1 : -1;
    for (int k = 0; k < sides; k++) {
        double a0 = 2 * PI * k / sides + PI / sides, a1 = 2 * PI * (k + 1) / sides + PI / sides;
        Point b0 = {cx + radius * std::cos(a0), y0, cz + radius * std::sin(a0)};
        Point b1 = {cx + radius * std::cos(a1), y0, cz + radius * std::sin(a1)};
        Point out = {std::cos(a0) + std::cos(a1), up * radius, std::sin(a0) + std::sin(a1)};
        AddTriangleFacing(apex, b0, b1, out);
        AddTriangleFacing(centreBase, b0, b1, {0, -up, 0});
    }
}

// A closed roof prism: ridge along z at height ridgeY over x = (x0 + x1) / 2,
// eaves at height y0 along x0 and x1, from z0 to z1. The gable ends are split
// at the middle of their base so that their edges meet those of the patches
// of the bottom face.
static void AddGableZ(double x0, double x1, double y0, double ridgeY, double z0, double z1)
{
    double xm = 0.5 * (x0 + x1);
    Point a0 = {x0, y0, z0}, b0 = {x1, y0, z0}, r0 = {xm, ridgeY, z0}, m0 = {xm, y0, z0};
    Point a1 = {x0, y0, z1}, b1 = {x1, y0, z1}, r1 = {xm, ridgeY, z1}, m1 = {xm, y0, z1};
    AddQuadFacing(a0, a1, r1, r0, {x0 - xm, ridgeY - y0, 0});
    AddQuadFacing(b0, r0, r1, b1, {x1 - xm, ridgeY - y0, 0});
    AddQuadFacing(a0, b0, b1, a1, {0, -1, 0});
    AddTriangleFacing(a0, r0, m0, {0, 0, -1});
    AddTriangleFacing(m0, r0, b0, {0, 0, -1});
    AddTriangleFacing(a1, m1, r1, {0, 0, 1});
    AddTriangleFacing(m1, b1, r1, {0, 0, 1});
}

// ---------------------------------------------------------------------------
// Shared tile parts (base orientation: cell -5..5 on every axis)

static const double FLOOR_TOP = -4.0;

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

// Channel level: the bed lies 0.6 below the walkways beside it.
static const double CHANNEL_BED_TOP = -4.6;

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

// ---------------------------------------------------------------------------
// Tile models, by code

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

// Cave wall: a rock block whose +z face, toward the open cave, is rough.
static void TileCaveWall()
{
    AddBox(-5, 5, -5, 5, -5, 3.5);
    AddBox(-5, 5, -5, FLOOR_TOP, 3.5, 5);
    AddBox(-5, 5, 4, 5, 3.5, 5);
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

// Outlet: an opening in the street down to the head of the channel below,
// with low rims along the channel's run (z), covered by a grate whose gaps
// are too narrow for a player: a collectable floats over it, and a player
// standing on it reaches that.
static void TileWallOutlet()
{
    for (int bar = 0; bar < 4; bar++)
        AddBox(-2.5, 2.5, FLOOR_TOP - 0.5, FLOOR_TOP, -2.125 + 1.25 * bar, -1.625 + 1.25 * bar);
    AddBox(-5, 5, -5, FLOOR_TOP, -5, -2.5);
    AddBox(-5, 5, -5, FLOOR_TOP, 2.5, 5);
    AddBox(-5, -2.5, -5, FLOOR_TOP, -2.5, 2.5);
    AddBox(2.5, 5, -5, FLOOR_TOP, -2.5, 2.5);
    AddBox(-3.3, -2.5, FLOOR_TOP, -3.4, -2.5, 2.5);
    AddBox(2.5, 3.3, FLOOR_TOP, -3.4, -2.5, 2.5);
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

// Cave partition between open cells on -z and +z: a rock wall along x.
// The cave layer has nothing below it, and the cell where a line of
// partitions ends may be empty; ribs from floor to ceiling close the walkways
// beside the wall at both ends of the cell, so they lead only back into the
// open cave on either side.
static void TileCavePartition()
{
    CaveFloorAndCeiling();
    AddBox(-5, 5, FLOOR_TOP, 4, -2.5, 2.5);
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
// centre), with guide posts in the corners, and a ramp from the floor of the
// cell on -x up to the top of the resting lift, so that a player walks on.
static const double LIFT_DECK_TOP = 1.0;

static void TileLiftBottom()
{
    FloorSlab();
    AddBox(-4.4, 4.4, FLOOR_TOP, -2, -4.4, 4.4);
    AddBox(-4.1, 4.1, -2, 0, -4.1, 4.1);
    LiftPosts(FLOOR_TOP, 5);
    AddSlopedSlabX(-15, -4.4, -4, 4, -5, FLOOR_TOP, LIFT_DECK_TOP - 1, LIFT_DECK_TOP);
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

typedef void (*ModelBuilder)();

// One builder per tile code, with the name written into the file's header.
struct TileRecipe {
    ModelBuilder build;
    const char* name;
};

static const TileRecipe TILE_RECIPES[46] = {
    {TileEmpty, "empty"},
    {TileBoundary, "boundary block"},
    {TileCornerColumn, "corner column: walls on -x and +z"},
    {TileWallColumn, "wall column: wall on -x"},
    {TileThickWallColumn, "thick wall column: wall on -x"},
    {TileRoomTop, "room top: top storey with a walkable roof"},
    {TileCaveWall, "cave wall: open cave on +z"},
    {TileWallCoreCentre, "street centre line with a lamp post"},
    {TileWall, "street edge beside a building"},
    {TileWallCorner, "street inner corner: cores on -x and -z"},
    {TileWallCore, "street paving"},
    {TileWallOutlet, "outlet into the channel below, run along z"},
    {TileChannelSide, "channel walkway: channel on +x"},
    {TileChannel, "channel bed"},
    {TileChannelHead, "channel head, run along z"},
    {TileSpare, "steps"},
    {TileCaveOpenCentre, "open cave with a stalagmite and a stalactite"},
    {TileCaveEntrance, "cave entrance facing +z"},
    {TileCaveFloor, "cave floor"},
    {TileCaveBlock, "cave block"},
    {TileRock, "rock"},
    {TileDescentTop, "descent top: channel on +x, descent toward -x"},
    {TileDescentRamp, "descent ramp down toward +z"},
    {TileCornerFloor, "corner floor: walls on -x and +z"},
    {TileWallFloor, "wall floor: wall on -x"},
    {TileThickWallFloor, "thick wall floor: wall on -x"},
    {TileEdgeFeature, "edge feature: doorway on -x"},
    {TileFloor, "floor"},
    {TileChannelInnerCorner, "channel inner corner: channels on +x and -z"},
    {TileChannelOuterCorner, "channel outer corner: channel at +x -z"},
    {TileCavePartition, "cave partition: open on -z and +z"},
    {TileBridgeShort, "short bridge along x"},
    {TileLiftBottom, "lift bottom"},
    {TileLiftShaft, "lift shaft"},
    {TileLiftTop, "lift top"},
    {TileRockEdge, "rock edge: wall foot on -x"},
    {TileBridgeEnd, "bridge end: doorway on -x"},
    {TileBridgeSpan, "bridge span along x"},
    {TileRockCorner, "rock corner: wall feet on -x and +z"},
    {TilePropGround, "prop ground"},
    {TileRoomTopDouble, "double room top: takes in the cell on +z"},
    {TileWallFixture1, "wall fixture: balcony on a wall at +x"},
    {TileWallFixture2, "wall fixture: lantern on a wall at +x"},
    {TileWallFixture3, "wall fixture: buttress on a wall at +x"},
    {TileWallFixtureWide, "wide wall fixture: relief on a wall at +x"},
    {TileColumnCap, "column cap: merlons over the wall on -x"},
};

// ---------------------------------------------------------------------------
// Entity models (origin at the entity's position)

// Collectable: a six-sided gem floating 0.5 to 2.9 units above the floor
// (its origin is placed 1 unit above the floor).
static void EntityCollectable()
{
    AddPyramid(0, 0, 0.8, 6, 0.6, 1.9);
    AddPyramid(0, 0, 0.8, 6, 0.6, -0.5);
}

// Lift: an 8 x 8 platform, 1 unit thick, whose underside is the entity's
// origin, so that it rests on the lift pad at the cell centre and a waiting
// lift hangs exactly a player's height above the player's feet.
static void EntityLift() { AddBox(-4, 4, 0, 1, -4, 4); }

// Prop: a banded barrel standing on its origin, within 1 unit of its axis so
// that any turn keeps it inside its cell.
static void EntityProp()
{
    AddPrism(0, 0, 0.9, 8, 0, 0.9);
    AddPrism(0, 0, 1.0, 8, 0.9, 1.3);
    AddPrism(0, 0, 0.9, 8, 1.3, 2.2);
}

struct EntityRecipe {
    ModelBuilder build;
    const char* name;
};

static const EntityRecipe ENTITY_RECIPES[3] = {
    {EntityCollectable, "collectable gem"},
    {EntityLift, "lift platform"},
    {EntityProp, "prop barrel"},
};

// ---------------------------------------------------------------------------
// OBJ output

// A number with up to four decimals and no trailing zeros; -0 becomes 0.
static std::string FormatNumber(double value)
{
    double rounded = std::round(value * 10000.0) / 10000.0;
    if (rounded == 0) rounded = 0;
    char text[64];
    snprintf(text, sizeof text, "%.4f", rounded);
    std::string s = text;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

// Writes modelTriangles as a triangulated OBJ: shared positions, the three
// texture coordinates of the fixed pattern and one normal per face.
static bool WriteObj(const std::string& path, const std::string& title)
{
    FILE* file = fopen(path.c_str(), "w");
    if (!file) return false;
    fprintf(file, "# %s\n", title.c_str());
    std::map<std::tuple<std::string, std::string, std::string>, int> positionIndex;
    std::vector<std::tuple<std::string, std::string, std::string>> positions;
    std::vector<int> corners;
    for (const Triangle& t : modelTriangles) {
        for (int k = 0; k < 3; k++) {
            auto key = std::make_tuple(FormatNumber(t.corner[k].x), FormatNumber(t.corner[k].y),
                                       FormatNumber(t.corner[k].z));
            auto found = positionIndex.find(key);
            if (found == positionIndex.end()) {
                positions.push_back(key);
                found = positionIndex.emplace(key, (int)positions.size()).first;
            }
            corners.push_back(found->second);
        }
    }
    for (const auto& p : positions)
        fprintf(file, "v %s %s %s\n", std::get<0>(p).c_str(), std::get<1>(p).c_str(), std::get<2>(p).c_str());
    fprintf(file, "vt 0 1\nvt 1 1\nvt 0 0\n");
    for (const Triangle& t : modelTriangles) {
        Point n = Cross(Sub(t.corner[1], t.corner[0]), Sub(t.corner[2], t.corner[0]));
        double length = Length(n);
        if (length > 0) n = Scale(n, 1.0 / length);
        fprintf(file, "vn %s %s %s\n", FormatNumber(n.x).c_str(), FormatNumber(n.y).c_str(),
                FormatNumber(n.z).c_str());
    }
    for (size_t t = 0; t < modelTriangles.size(); t++) {
        fprintf(file, "f %d/1/%zu %d/2/%zu %d/3/%zu\n", corners[3 * t], t + 1, corners[3 * t + 1], t + 1,
                corners[3 * t + 2], t + 1);
    }
    return fclose(file) == 0;
}

// ---------------------------------------------------------------------------
// PNG output

// Writes 8-bit RGB (channels 3) or RGBA (channels 4) pixels, rows top first,
// with libpng at its strongest compression and no row filters, so that the
// same pixels always give the same bytes.
static bool WritePng(const std::string& path, int width, int height, int channels, const std::vector<uint8_t>& pixels)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, (png_uint_32)width, (png_uint_32)height, 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    for (int y = 0; y < height; y++)
        png_write_row(png, pixels.data() + (size_t)y * width * channels);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(file) == 0;
}

// ---------------------------------------------------------------------------
// World texture

static const int TEXTURE_SIZE = 256;

// Smooth value noise on a lattice of the given period, from a fixed hash.
static double LatticeValue(int x, int y, int seed)
{
    uint32_t h = (uint32_t)x * 374761393u + (uint32_t)y * 668265263u + (uint32_t)seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFF) / 65535.0;
}

static double ValueNoise(double u, double v, int cells, int seed)
{
    double x = u * cells, y = v * cells;
    int x0 = (int)std::floor(x), y0 = (int)std::floor(y);
    double fx = x - x0, fy = y - y0;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    double a = LatticeValue(x0, y0, seed), b = LatticeValue(x0 + 1, y0, seed);
    double c = LatticeValue(x0, y0 + 1, seed), d = LatticeValue(x0 + 1, y0 + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

static double StoneNoise(double u, double v)
{
    return 0.45 * ValueNoise(u, v, 6, 1) + 0.3 * ValueNoise(u, v, 17, 2) + 0.25 * ValueNoise(u, v, 53, 3);
}

// Sandstone with fine grain and a darker joint along all four edges. Each
// texel equals the one turned half a turn about the centre, so the two
// triangles of a patch (which show the texture turned half a turn against each
// other) meet without a seam, and the joints outline every patch.
static std::vector<uint8_t> MakeWorldTexture()
{
    std::vector<uint8_t> pixels((size_t)TEXTURE_SIZE * TEXTURE_SIZE * 3);
    const double base[3] = {226, 213, 190};
    for (int y = 0; y < TEXTURE_SIZE; y++) {
        for (int x = 0; x < TEXTURE_SIZE; x++) {
            double u = (x + 0.5) / TEXTURE_SIZE, v = (y + 0.5) / TEXTURE_SIZE;
            double grain = 0.5 * (StoneNoise(u, v) + StoneNoise(1 - u, 1 - v));
            double speck = 0.5 * (LatticeValue(x, y, 7) + LatticeValue(TEXTURE_SIZE - 1 - x, TEXTURE_SIZE - 1 - y, 7));
            double shade = 0.78 + 0.3 * grain + (speck > 0.93 ? -0.08 : 0.0);
            int edge = std::min(std::min(x, TEXTURE_SIZE - 1 - x), std::min(y, TEXTURE_SIZE - 1 - y));
            if (edge < 5) shade *= 0.62 + 0.076 * edge;
            for (int c = 0; c < 3; c++) {
                double value = base[c] * shade + (c == 0 ? 6 * grain : 0);
                pixels[((size_t)y * TEXTURE_SIZE + x) * 3 + c] = (uint8_t)std::max(0.0, std::min(255.0, value));
            }
        }
    }
    return pixels;
}

// ---------------------------------------------------------------------------
// Interface atlas

static const int ATLAS_W = 1024;
static const int ATLAS_H = 256;

struct Colour {
    double r, g, b, a;  // 0..255 each
};

static std::vector<uint8_t> atlas;  // RGBA, rows top first

// Paints over an atlas pixel with the given colour and coverage (0..1).
static void Blend(int x, int y, Colour c, double coverage)
{
    if (x < 0 || y < 0 || x >= ATLAS_W || y >= ATLAS_H || coverage <= 0) return;
    uint8_t* p = &atlas[((size_t)y * ATLAS_W + x) * 4];
    double srcA = c.a / 255.0 * std::min(1.0, coverage);
    double dstA = p[3] / 255.0;
    double outA = srcA + dstA * (1 - srcA);
    if (outA <= 0) return;
    double channels[3] = {c.r, c.g, c.b};
    for (int k = 0; k < 3; k++) {
        double value = (channels[k] * srcA + p[k] * dstA * (1 - srcA)) / outA;
        p[k] = (uint8_t)std::lround(std::max(0.0, std::min(255.0, value)));
    }
    p[3] = (uint8_t)std::lround(outA * 255);
}

// Font: DejaVu Sans Mono from Debian's fonts-dejavu-core, rendered by
// FreeType with its grey anti-aliasing at the largest pixel size whose every
// glyph is at most 8 pixels wide and 16 high. With a one-pixel outline a glyph
// then stays within columns 5..14 of its 20 x 20 cell, the 10 pixels the pen
// advance gives each character, so neighbours never overlap.
static const char* FONT_PATH = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
static const int GLYPH_MAX_WIDTH = 8, GLYPH_MAX_HEIGHT = 16, GLYPH_LEFT = 6, GLYPH_BASELINE = 15;

// The coverage (0..1) of each glyph's pixels in its cell, 20 x 20 a glyph.
static std::vector<double> glyphCoverage;

static bool RenderFont()
{
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library) != 0) return false;
    if (FT_New_Face(library, FONT_PATH, 0, &face) != 0) {
        fprintf(stderr, "make_assets: cannot read the font %s (install fonts-dejavu-core)\n", FONT_PATH);
        FT_Done_FreeType(library);
        return false;
    }
    // The largest size at which every glyph fits its box.
    int size = 20;
    for (; size > 6; size--) {
        FT_Set_Pixel_Sizes(face, 0, (FT_UInt)size);
        int widest = 0, tallest = 0;
        for (int c = 33; c < 127; c++) {
            if (FT_Load_Char(face, (FT_ULong)c, FT_LOAD_RENDER) != 0) continue;
            widest = std::max(widest, (int)face->glyph->bitmap.width);
            tallest = std::max(tallest, (int)face->glyph->bitmap.rows);
        }
        if (widest <= GLYPH_MAX_WIDTH && tallest <= GLYPH_MAX_HEIGHT) break;
    }
    glyphCoverage.assign(95 * 400, 0.0);
    for (int g = 1; g < 95; g++) {
        if (FT_Load_Char(face, (FT_ULong)(g + 32), FT_LOAD_RENDER) != 0) continue;
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        // Centred in the 8 columns; the baseline on one row of every cell.
        int left = GLYPH_LEFT + (GLYPH_MAX_WIDTH - (int)bitmap.width) / 2;
        int top = std::max(1, GLYPH_BASELINE - face->glyph->bitmap_top);
        for (int y = 0; y < (int)bitmap.rows && top + y < 19; y++)
            for (int x = 0; x < (int)bitmap.width; x++)
                glyphCoverage[g * 400 + (top + y) * 20 + left + x] = bitmap.buffer[y * bitmap.pitch + x] / 255.0;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return true;
}

static double GlyphCoverage(int glyph, int x, int y)
{
    if (x < 0 || y < 0 || x >= 20 || y >= 20) return 0;
    return glyphCoverage[glyph * 400 + y * 20 + x];
}

// White glyphs over a dark outline that follows each glyph's shape.
static void DrawGlyphs()
{
    const Colour ink = {255, 255, 255, 255}, outline = {16, 12, 8, 235};
    for (int g = 0; g < 95; g++) {
        int cellX = 20 * (g % 32), cellY = 20 * (g / 32);
        for (int y = 0; y < 20; y++) {
            for (int x = 0; x < 20; x++) {
                double around = 0;
                for (int dy = -1; dy <= 1; dy++)
                    for (int dx = -1; dx <= 1; dx++) around = std::max(around, GlyphCoverage(g, x + dx, y + dy));
                Blend(cellX + x, cellY + y, outline, around);
                Blend(cellX + x, cellY + y, ink, GlyphCoverage(g, x, y));
            }
        }
    }
}

// Signed distance from (px, py) to a rounded rectangle (negative inside).
static double RoundedBoxDistance(double px, double py, double x0, double y0, double x1, double y1, double radius)
{
    double cx = 0.5 * (x0 + x1), cy = 0.5 * (y0 + y1);
    double hx = 0.5 * (x1 - x0) - radius, hy = 0.5 * (y1 - y0) - radius;
    double qx = std::fabs(px - cx) - hx, qy = std::fabs(py - cy) - hy;
    double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

// Button frame of one style: a 60 x 60 rounded panel over the 3 x 3 cells at
// (left, 60). Its corners lie wholly inside the corner cells, so the edge and
// centre cells are uniform along the direction in which they are repeated.
static void DrawFrameStyle(int left, Colour fill, Colour border)
{
    for (int y = 0; y < 60; y++) {
        for (int x = 0; x < 60; x++) {
            double px = x + 0.5, py = y + 0.5;
            double d = RoundedBoxDistance(px, py, 2, 2, 58, 58, 8);
            double inside = std::max(0.0, std::min(1.0, 0.5 - d));
            double line = std::max(0.0, std::min(1.0, 1.25 - std::fabs(d + 3.0)));
            Blend(left + x, 60 + y, fill, inside);
            Blend(left + x, 60 + y, border, line);
        }
    }
}

// Mouse pointer in the 40 x 60 cell at (440, 60): an arrow whose tip is the
// hot spot at pixel (12, 10) of the cell.
static bool InsidePolygon(const double (*points)[2], int count, double x, double y)
{
    bool inside = false;
    for (int i = 0, j = count - 1; i < count; j = i++) {
        if ((points[i][1] > y) != (points[j][1] > y) &&
            x < (points[j][0] - points[i][0]) * (y - points[i][1]) / (points[j][1] - points[i][1]) + points[i][0])
            inside = !inside;
    }
    return inside;
}

static void DrawPointerImage()
{
    const double arrow[7][2] = {{12, 10}, {12, 40}, {19, 33}, {25, 46}, {30, 44}, {24, 31}, {34, 31}};
    const Colour fill = {250, 244, 226, 255}, edge = {20, 16, 12, 255};
    for (int y = 0; y < 60; y++) {
        for (int x = 0; x < 40; x++) {
            int inner = 0, outer = 0;
            for (int sy = 0; sy < 4; sy++) {
                for (int sx = 0; sx < 4; sx++) {
                    double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
                    inner += InsidePolygon(arrow, 7, px, py);
                    bool near = false;
                    for (int k = 0; k < 8 && !near; k++) {
                        double a = k * PI / 4;
                        near = InsidePolygon(arrow, 7, px + 1.5 * std::cos(a), py + 1.5 * std::sin(a));
                    }
                    outer += near || InsidePolygon(arrow, 7, px, py);
                }
            }
            Blend(440 + x, 60 + y, edge, outer / 16.0);
            Blend(440 + x, 60 + y, fill, std::max(0.0, inner / 16.0 - 0.0) * (inner == 16 ? 1.0 : 0.6));
        }
    }
    // The hot spot itself is always solid so that the tip never vanishes.
    Blend(440 + 12, 60 + 10, edge, 1.0);
}

// Menu bars (640 x 60, stretched across the screen): uniform along x, a dark
// translucent band with a bright rule on the edge facing the screen's middle.
static void DrawMenuBar(int top, bool ruleAtBottom)
{
    for (int y = 0; y < 60; y++) {
        int fromRule = ruleAtBottom ? 59 - y : y;
        double shade = 0.75 + 0.25 * fromRule / 59.0;
        Colour band = {28 * shade + 6, 26 * shade + 6, 34 * shade + 6, 200 + 30 * (fromRule / 59.0)};
        Colour c = band;
        if (fromRule == 2 || fromRule == 3) c = {214, 178, 96, 255};
        if (fromRule <= 1) c = {12, 10, 8, 235};
        for (int x = 0; x < 640; x++) Blend(x, top + y, c, 1.0);
    }
}

static std::vector<uint8_t> MakeDashboard()
{
    atlas.assign((size_t)ATLAS_W * ATLAS_H * 4, 0);
    DrawGlyphs();
    DrawFrameStyle(0, {22, 24, 30, 190}, {150, 140, 118, 255});
    DrawFrameStyle(60, {44, 38, 24, 215}, {244, 204, 96, 255});
    DrawPointerImage();
    DrawMenuBar(120, true);
    DrawMenuBar(180, false);
    return atlas;
}

// ---------------------------------------------------------------------------

static bool MakeFolder(const std::string& path)
{
    return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

int main(int argc, char** argv)
{
    std::string root = argc > 1 ? argv[1] : ".";
    std::string media = root + "/Media";
    if (!MakeFolder(media) || !MakeFolder(media + "/worldtiles") || !MakeFolder(media + "/entities")) {
        fprintf(stderr, "make_assets: cannot make the folders under %s\n", media.c_str());
        return 1;
    }
    bool ok = true;
    for (int code = 0; code < 46; code++) {
        modelTriangles.clear();
        TILE_RECIPES[code].build();
        char title[160];
        snprintf(title, sizeof title, "Cairnfold tile %d: %s", code, TILE_RECIPES[code].name);
        std::string path = media + "/worldtiles/worldtile" + std::to_string(code) + ".obj";
        ok = WriteObj(path, title) && ok;
        printf("%-40s %4zu triangles\n", path.c_str(), modelTriangles.size());
    }
    for (int kind = 0; kind < 3; kind++) {
        modelTriangles.clear();
        ENTITY_RECIPES[kind].build();
        std::string title = std::string("Cairnfold entity ") + std::to_string(kind) + ": " + ENTITY_RECIPES[kind].name;
        std::string path = media + "/entities/entity" + std::to_string(kind) + ".obj";
        ok = WriteObj(path, title) && ok;
        printf("%-40s %4zu triangles\n", path.c_str(), modelTriangles.size());
    }
    if (!RenderFont()) return 1;
    ok = WritePng(media + "/worldtexture.png", TEXTURE_SIZE, TEXTURE_SIZE, 3, MakeWorldTexture()) && ok;
    ok = WritePng(media + "/dashboard.png", ATLAS_W, ATLAS_H, 4, MakeDashboard()) && ok;
    if (!ok) {
        fprintf(stderr, "make_assets: could not write every file under %s\n", media.c_str());
        return 1;
    }
    return 0;
}
