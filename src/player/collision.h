// Collision: pushes the walking player, an upright ellipsoid, out of the tiles and solid entities around them.
#pragma once

#include "render/obj_loader.h"
#include "world/mathlib.h"

// The player is tested as a sphere of this radius in collision space, where
// vertical offsets are squashed by the same ratio as the collision meshes.
constexpr float PLAYER_RADIUS = COLLISION_SQUASH_RADIUS;               // 1.25, also the horizontal radius
constexpr float PLAYER_CENTRE_HEIGHT = COLLISION_SQUASH_HEIGHT;        // 2.25 above the feet, the half-height
constexpr float VERTICAL_SQUASH = COLLISION_SQUASH_RADIUS / COLLISION_SQUASH_HEIGHT;  // 0.5555556
constexpr int COLLISION_RANGE = 2;  // cells tested on each side of the player's cell
// Angle sum (0.99 x 2 pi) above which a point counts as inside a triangle;
// the 1 % tolerance lets points on or just beside an edge count as inside.
constexpr double INSIDE_ANGLE_SUM = 6.220353454107791;
// How far outside a triangle, in its longest edge, a point can still count as
// inside: only where the triangle spans at least 0.99 pi as seen from it, which
// is within 0.0157 of the longest edge (4 atan(0.0157) = 0.01 x 2 pi).
constexpr float INSIDE_TEST_REACH = 0.02f;

// Signed distance d = normal.point - normal.corner of a point from a plane;
// true when |d| < radius.
bool PlaneDistance(const Vec3& normal, const Vec3& point, const Vec3& corner, float radius, float& distance);

// Whether Q lies in triangle ABC (its plane assumed): the angles the corners
// make at Q sum to nearly a full turn. A point exactly on a corner is outside.
bool PointInTriangle(const Vec3& q, const Vec3& a, const Vec3& b, const Vec3& c);

// The angle between two vectors in radians, 0..pi; NaN when either is zero.
float AngleBetween(const Vec3& u, const Vec3& v);

// The point of segment ab nearest to p.
Vec3 ClosestPointOnSegment(const Vec3& a, const Vec3& b, const Vec3& p);

// Pushes gameState.position out of one mesh placed at (ox, oy, oz) and turned
// by `angle` about the vertical axis: through the faces of triangles the
// player's centre lies over (resolveFaces) and away from the edges of the
// others (resolveEdges). A null mesh, or a triangle with no area, pushes nothing.
void CollideWithMesh(float radius, float ox, float oy, float oz, float angle, const CollisionMesh* mesh,
                     bool resolveFaces, bool resolveEdges);

// Pushes the player out of every tile and solid entity of the 5 x 5 x 5 cells
// around gameState.cell: all faces first, then the edges.
void CollidePlayerWithWorld();
