#include "render/obj_loader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iomanip>

// Scratch tables of the reader, shared by every load (one load at a time).
// Each load starts writing at the front; what an earlier file left behind is
// never read, because faces are checked against this file's own counts.
static float positionList[OBJ_LIST_CAPACITY][3];
static float texCoordList[OBJ_LIST_CAPACITY][2];
static float normalList[OBJ_LIST_CAPACITY][3];
static ObjFace faceList[OBJ_LIST_CAPACITY];
static char wordBuffer[OBJ_WORD_CAPACITY];
static char cornerBuffer[OBJ_WORD_CAPACITY];
// Receives entries past a full list, so the statement is still read through.
static float overflowEntry[3];

// Reads the next white-space separated word into `buffer`. A word longer
// than the buffer keeps its first OBJ_WORD_CAPACITY - 1 characters and the
// rest of it is skipped. False when no word could be read.
static bool ReadWord(std::istream& in, char* buffer)
{
    buffer[0] = '\0';
    if (!(in >> std::setw(OBJ_WORD_CAPACITY) >> buffer))
        return false;
    if (strlen(buffer) == (size_t)OBJ_WORD_CAPACITY - 1) {
        for (;;) {
            int next = in.peek();
            if (next == std::char_traits<char>::eof() || isspace(next))
                break;
            in.get();
        }
    }
    return true;
}

// Reads `count` floats into `entry`, which is zeroed first so that values a
// failed read leaves untouched are 0 rather than a former file's data.
static void ReadFloats(std::istream& in, float* entry, int count)
{
    for (int i = 0; i < count; i++)
        entry[i] = 0.0f;
    for (int i = 0; i < count; i++)
        in >> entry[i];
}

// A one-based index field, converted like atoi, as a zero-based index;
// -1 for any value that cannot name an entry of a list.
static int32_t ParseIndex(const char* field)
{
    long value = strtol(field, nullptr, 10);
    if (value < 1 || value > OBJ_LIST_CAPACITY)
        return -1;
    return (int32_t)(value - 1);
}

// Splits a corner word "v/t/n" at runs of '/'. False when it has fewer than
// three fields.
static bool ParseCorner(const char* word, int32_t* vertex, int32_t* texCoord, int32_t* normal)
{
    strcpy(cornerBuffer, word);
    char* fields[3];
    fields[0] = strtok(cornerBuffer, "/");
    fields[1] = fields[0] ? strtok(nullptr, "/") : nullptr;
    fields[2] = fields[1] ? strtok(nullptr, "/") : nullptr;
    if (!fields[2])
        return false;
    *vertex = ParseIndex(fields[0]);
    *texCoord = ParseIndex(fields[1]);
    *normal = ParseIndex(fields[2]);
    return true;
}

static bool FaceIsValid(const ObjFace& face, int positionCount, int texCoordCount, int normalCount)
{
    for (int k = 0; k < 3; k++) {
        if (face.vertexIndex[k] < 0 || face.vertexIndex[k] >= positionCount)
            return false;
        if (face.texCoordIndex[k] < 0 || face.texCoordIndex[k] >= texCoordCount)
            return false;
        if (face.normalIndex[k] < 0 || face.normalIndex[k] >= normalCount)
            return false;
    }
    return true;
}

Mesh ReadObjMesh(std::istream& in, float scale)
{
    int positionCount = 0;
    int texCoordCount = 0;
    int normalCount = 0;
    int faceCount = 0;

    // Word by word, not line by line: the words after an unknown word (a
    // comment mark, a group name) are each looked at as keywords in turn.
    while (in.good()) {
        if (!ReadWord(in, wordBuffer))
            break;
        if (strcmp(wordBuffer, "vn") == 0) {
            float* entry = normalCount < OBJ_LIST_CAPACITY ? normalList[normalCount++] : overflowEntry;
            ReadFloats(in, entry, 3);
        } else if (strcmp(wordBuffer, "vt") == 0) {
            float* entry = texCoordCount < OBJ_LIST_CAPACITY ? texCoordList[texCoordCount++] : overflowEntry;
            ReadFloats(in, entry, 2);
        } else if (strcmp(wordBuffer, "v") == 0) {
            float* entry = positionCount < OBJ_LIST_CAPACITY ? positionList[positionCount++] : overflowEntry;
            ReadFloats(in, entry, 3);
        } else if (strcmp(wordBuffer, "f") == 0) {
            // Only three corners are read; further corner words are met as
            // words of no statement and skipped.
            ObjFace face;
            bool complete = true;
            for (int k = 0; k < 3; k++) {
                ReadWord(in, wordBuffer);
                if (!ParseCorner(wordBuffer, &face.vertexIndex[k], &face.texCoordIndex[k], &face.normalIndex[k]))
                    complete = false;
            }
            if (complete && faceCount < OBJ_LIST_CAPACITY)
                faceList[faceCount++] = face;
        }
    }

    // Faces are expanded after the whole file is read, so a face may name
    // entries written after it. Faces naming entries the file lacks are dropped.
    int keptFaces = 0;
    for (int f = 0; f < faceCount; f++)
        if (FaceIsValid(faceList[f], positionCount, texCoordCount, normalCount))
            keptFaces++;

    Mesh mesh;
    mesh.positions = new float[9 * keptFaces];
    mesh.texCoords = new float[6 * keptFaces];
    mesh.normals = new float[9 * keptFaces];
    mesh.vertexCount = 3 * keptFaces;

    int out = 0;
    for (int f = 0; f < faceCount; f++) {
        const ObjFace& face = faceList[f];
        if (!FaceIsValid(face, positionCount, texCoordCount, normalCount))
            continue;
        for (int k = 0; k < 3; k++) {
            for (int c = 0; c < 3; c++) {
                mesh.positions[9 * out + 3 * k + c] = positionList[face.vertexIndex[k]][c] * scale;
                mesh.normals[9 * out + 3 * k + c] = normalList[face.normalIndex[k]][c];
            }
            for (int c = 0; c < 2; c++)
                mesh.texCoords[6 * out + 2 * k + c] = texCoordList[face.texCoordIndex[k]][c];
        }
        out++;
    }
    return mesh;
}

Mesh LoadObjMesh(const char* path, float scale)
{
    std::ifstream file(path);
    if (!file.is_open()) {
        // The game goes on with an empty model, but a player seeing a hole in
        // the world deserves to know which file is missing.
        fprintf(stderr, "cairnfold: cannot read %s; that model is left empty\n", path);
        Mesh empty;
        empty.positions = new float[0];
        empty.texCoords = new float[0];
        empty.normals = new float[0];
        empty.vertexCount = 0;
        return empty;
    }
    return ReadObjMesh(file, scale);
}

CollisionMesh* BuildCollisionMesh(int32_t vertexCount, const float* positions)
{
    CollisionMesh* mesh = new CollisionMesh;
    int32_t triangles = vertexCount / 3;
    mesh->triangleCount = triangles;
    mesh->cornerA = new float[3 * triangles];
    mesh->cornerB = new float[3 * triangles];
    mesh->cornerC = new float[3 * triangles];
    mesh->faceNormal = new float[3 * triangles];
    mesh->low = Vec3{INFINITY, INFINITY, INFINITY};
    mesh->high = Vec3{-INFINITY, -INFINITY, -INFINITY};
    mesh->longestEdge = 0.0f;
    float* corners[3] = {mesh->cornerA, mesh->cornerB, mesh->cornerC};
    for (int t = 0; t < triangles; t++) {
        Vec3 squashed[3];
        for (int k = 0; k < 3; k++) {
            const float* p = positions + 9 * t + 3 * k;
            squashed[k] = Vec3{p[0], p[1] * COLLISION_SQUASH_RADIUS / COLLISION_SQUASH_HEIGHT, p[2]};
            corners[k][3 * t] = squashed[k].x;
            corners[k][3 * t + 1] = squashed[k].y;
            corners[k][3 * t + 2] = squashed[k].z;
        }
        Vec3 n = TriangleNormal(squashed[0], squashed[1], squashed[2]);
        mesh->faceNormal[3 * t] = n.x;
        mesh->faceNormal[3 * t + 1] = n.y;
        mesh->faceNormal[3 * t + 2] = n.z;
        // A corner that is not a finite number leaves its triangle out of every test of collision.
        bool finite = true;
        for (const Vec3& c : squashed) finite = finite && std::isfinite(c.x) && std::isfinite(c.y) && std::isfinite(c.z);
        if (!finite)
            continue;
        for (int k = 0; k < 3; k++) {
            const Vec3& c = squashed[k];
            mesh->low = Vec3{std::min(mesh->low.x, c.x), std::min(mesh->low.y, c.y), std::min(mesh->low.z, c.z)};
            mesh->high = Vec3{std::max(mesh->high.x, c.x), std::max(mesh->high.y, c.y), std::max(mesh->high.z, c.z)};
            mesh->longestEdge = std::max(mesh->longestEdge, Length(Sub(squashed[(k + 1) % 3], c)));
        }
    }
    return mesh;
}
