#include "player/collision.h"

#include <cmath>

#include "player/game_state.h"
#include "render/model_sets.h"
#include "world/world_grid.h"

static Vec3 Corner(const float* corners, int triangle)
{
    const float* c = corners + 3 * triangle;
    return Vec3{c[0], c[1], c[2]};
}

// ---- the pure tests

bool PlaneDistance(const Vec3& normal, const Vec3& point, const Vec3& corner, float radius, float& distance)
{
    distance = Dot(normal, point) - Dot(normal, corner);
    return fabsf(distance) < radius;
}

float AngleBetween(const Vec3& u, const Vec3& v)
{
    float dot = Dot(u, v);
    float lengthU = Length(u);
    float lengthV = Length(v);
    float lengths = lengthU * lengthV;
    float cosine = dot / lengths;
    // Rounding can carry the cosine of nearly opposite vectors (a point on an
    // edge) just beyond -1, where acos has no value; such a point must still
    // count as inside. A zero vector keeps its NaN: a corner is outside.
    if (cosine < -1.0f)
        cosine = -1.0f;
    else if (cosine > 1.0f)
        cosine = 1.0f;
    return (float)acos(cosine);
}

bool PointInTriangle(const Vec3& q, const Vec3& a, const Vec3& b, const Vec3& c)
{
    Vec3 qa = Sub(a, q), qb = Sub(b, q), qc = Sub(c, q);
    double sum = (double)AngleBetween(qa, qb) + (double)AngleBetween(qb, qc) + (double)AngleBetween(qc, qa);
    return sum >= INSIDE_ANGLE_SUM;
}

Vec3 ClosestPointOnSegment(const Vec3& a, const Vec3& b, const Vec3& p)
{
    Vec3 ab = Sub(b, a);
    Vec3 n = NormalizeVector(ab);
    float t = Dot(n, Sub(p, a));
    if (t <= 0.0f)
        return a;
    if (t >= Length(ab))
        return b;
    return Vec3{a.x + n.x * t, a.y + n.y * t, a.z + n.z * t};
}

// ---- one mesh

void CollideWithMesh(float radius, float ox, float oy, float oz, float angle, const CollisionMesh* mesh,
                     bool resolveFaces, bool resolveEdges)
{
    if (!mesh)
        return;
    Vec3& position = gameState.position;
    // Only the player's centre moves into the mesh's space and back; the
    // meshes are squashed and turned to their orientations once at load time.
    Vec3 p = {position.x - ox, position.y - oy, position.z - oz};
    p.y *= VERTICAL_SQUASH;
    double cosine = 0.0, sine = 0.0;
    if (angle != 0.0f) {
        cosine = cos(angle);
        sine = sin(angle);
        float x = (float)(p.x * cosine - p.z * sine);
        float z = (float)(p.z * cosine + p.x * sine);
        p.x = x;
        p.z = z;
    }

    // A triangle moves the centre only from within the radius of its edges, or of its face as far
    // as the inside test reaches: a centre farther than that outside the box of all corners is
    // moved by none, and is only carried into the mesh's space and back, as always.
    float margin = radius + INSIDE_TEST_REACH * mesh->longestEdge;
    bool near = !(p.x < mesh->low.x - margin || p.x > mesh->high.x + margin || p.y < mesh->low.y - margin ||
                  p.y > mesh->high.y + margin || p.z < mesh->low.z - margin || p.z > mesh->high.z + margin);
    for (int t = 0; near && t < mesh->triangleCount; t++) {
        Vec3 a = Corner(mesh->cornerA, t), b = Corner(mesh->cornerB, t), c = Corner(mesh->cornerC, t);
        Vec3 n = Corner(mesh->faceNormal, t);
        // A triangle with no area (two equal corners) has the zero normal: it
        // has no face to push through, and its edges are those of no solid.
        if (n.x == 0.0f && n.y == 0.0f && n.z == 0.0f)
            continue;
        float d;
        // Too far from the plane, or behind the face on the solid side.
        if (!PlaneDistance(n, p, a, radius, d) || d > 0.0f)
            continue;
        Vec3 q = {p.x - n.x * d, p.y - n.y * d, p.z - n.z * d};
        if (PointInTriangle(q, a, b, c)) {
            if (resolveFaces) {
                // Out along the normal until exactly `radius` in front of the face.
                float push = d + radius;
                p.x -= n.x * push;
                p.y -= n.y * push;
                p.z -= n.z * push;
            }
            continue;
        }
        if (!resolveEdges)
            continue;
        const Vec3 edges[3][2] = {{a, b}, {b, c}, {c, a}};
        for (const auto& edge : edges) {
            Vec3 e = ClosestPointOnSegment(edge[0], edge[1], p);
            Vec3 away = Sub(p, e);
            float k = Length(away);
            // A centre exactly on the edge has no direction to be pushed in.
            if (k < radius && k > 0.0f) {
                p.x = e.x + away.x / k * radius;
                p.y = e.y + away.y / k * radius;
                p.z = e.z + away.z / k * radius;
            }
        }
    }

    if (angle != 0.0f) {
        float x = (float)(p.x * cosine + p.z * sine);
        float z = (float)(p.z * cosine - p.x * sine);
        p.x = x;
        p.z = z;
    }
    p.y /= VERTICAL_SQUASH;
    position = Vec3{p.x + ox, p.y + oy, p.z + oz};
}

// ---- the neighbourhood

// The tile of one cell, then its solid entities, through faces or edges.
static void CollideWithCell(int x, int y, int z, bool faces, bool edges)
{
    int i = CellIndex(x, y, z);
    const WorldCell& cell = worldGrid[i];
    if (cell.tileType != TILE_EMPTY)
        CollideWithMesh(PLAYER_RADIUS, (float)(CELL_SIZE * x), (float)(CELL_SIZE * y), (float)(CELL_SIZE * z), 0.0f,
                        tileModels[cell.tileType].collision[cell.orientation], faces, edges);
    for (int k = 0; k < entityCount[i]; k++) {
        const Entity& e = *EntitySlot(i, k);
        if (entityKindIsSolid[e.kind])
            CollideWithMesh(PLAYER_RADIUS, e.x, e.y, e.z, e.angle, entityModels[e.kind].collision, faces, edges);
    }
}

void CollidePlayerWithWorld()
{
    gameState.position.y += PLAYER_CENTRE_HEIGHT;
    const CellCoord& at = gameState.cell;
    CellSpan xs = ClipCellSpan(at.x, COLLISION_RANGE, GRID_SIZE_X);
    CellSpan ys = ClipCellSpan(at.y, COLLISION_RANGE, GRID_LAYERS);
    CellSpan zs = ClipCellSpan(at.z, COLLISION_RANGE, GRID_SIZE_Z);
    // Every face first, so that the player stands on floors before any edge
    // pushes; edges only of cells with a tile.
    for (int x = xs.from; x < xs.to; x++)
        for (int y = ys.from; y < ys.to; y++)
            for (int z = zs.from; z < zs.to; z++)
                CollideWithCell(x, y, z, true, false);
    for (int x = xs.from; x < xs.to; x++)
        for (int y = ys.from; y < ys.to; y++)
            for (int z = zs.from; z < zs.to; z++)
                if (worldGrid[CellIndex(x, y, z)].tileType != TILE_EMPTY)
                    CollideWithCell(x, y, z, false, true);
    gameState.position.y -= PLAYER_CENTRE_HEIGHT;
}
