// OBJ loader: reads triangulated Wavefront OBJ models into flat triangle arrays and builds collision meshes.
#pragma once

#include <cstdint>
#include <istream>

#include "world/mathlib.h"

constexpr int OBJ_LIST_CAPACITY = 10000;  // entries per scratch list and faces per file
constexpr int OBJ_WORD_CAPACITY = 500;    // word buffer, terminating zero included

// Collision space squashes the vertical axis by this ratio: the player's
// radius over the height of the player's centre above the feet.
constexpr float COLLISION_SQUASH_RADIUS = 1.25f;
constexpr float COLLISION_SQUASH_HEIGHT = 2.25f;

// One model expanded to a triangle list: vertex 3t + k is corner k of triangle t.
// The arrays are allocated with new[] and sized exactly (zero-length when empty).
struct Mesh {
    float* positions;     // 3 per vertex, multiplied by the load scale
    float* texCoords;     // 2 per vertex, as read
    float* normals;       // 3 per vertex, as read
    int32_t vertexCount;  // 3 x triangles
};

// One face as read: zero-based indexes of its three corners.
struct ObjFace {
    int32_t vertexIndex[3];
    int32_t texCoordIndex[3];
    int32_t normalIndex[3];
};

// The triangles of a mesh with y scaled by 1.25 / 2.25, for player collision.
struct CollisionMesh {
    int32_t triangleCount;
    float* cornerA;     // 3 per triangle
    float* cornerB;
    float* cornerC;
    float* faceNormal;  // unit TriangleNormal of the squashed corners
    Vec3 low, high;     // the box of the corners (of triangles whose corners are all finite numbers)
    float longestEdge;  // the longest edge among those triangles
};

// Reads an OBJ file; a file that cannot be opened gives an empty mesh and one
// line on standard error naming it.
Mesh LoadObjMesh(const char* path, float scale);

// Reads OBJ text from a stream (LoadObjMesh on an opened file). Faces with a
// corner of fewer than three fields, or an index outside the file's entries,
// are dropped; entries past the capacity of a list are not taken.
Mesh ReadObjMesh(std::istream& in, float scale);

// A new collision mesh (record and arrays on the heap) for a mesh's positions.
CollisionMesh* BuildCollisionMesh(int32_t vertexCount, const float* positions);
