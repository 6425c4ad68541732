#include "render/model_sets.h"

#include <cmath>
#include <cstdio>

TileModel tileModels[TILE_TYPE_COUNT];
EntityModel entityModels[ENTITY_KIND_COUNT];

// Every triangle shows the same corner of the world texture.
static const float TRIANGLE_TEX_COORDS[6] = {0.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f};

static void SetTexturePattern(float* texCoords, int32_t vertexCount)
{
    for (int t = 0; t < vertexCount / 3; t++)
        for (int i = 0; i < 6; i++)
            texCoords[6 * t + i] = TRIANGLE_TEX_COORDS[i];
}

// Stores at each corner of every triangle the normal of the side its corners
// run counter-clockwise on: the negated TriangleNormal.
static void SetFaceNormals(float* normals, const float* positions, int32_t vertexCount)
{
    for (int t = 0; t < vertexCount / 3; t++) {
        const float* p = positions + 9 * t;
        Vec3 n = TriangleNormal(Vec3{p[0], p[1], p[2]}, Vec3{p[3], p[4], p[5]}, Vec3{p[6], p[7], p[8]});
        for (int k = 0; k < 3; k++) {
            normals[9 * t + 3 * k] = -n.x;
            normals[9 * t + 3 * k + 1] = -n.y;
            normals[9 * t + 3 * k + 2] = -n.z;
        }
    }
}

// Loads model `number` of a numbered set in Media/ (path stem + number + ".obj") with every triangle
// showing the same texture corner and every corner carrying its face's normal.
static Mesh LoadPreparedMesh(const char* stem, int number)
{
    char name[256];
    snprintf(name, sizeof name, "%s%i%s", stem, number, ".obj");
    Mesh mesh = LoadObjMesh(name, 1.0f);
    SetTexturePattern(mesh.texCoords, mesh.vertexCount);
    SetFaceNormals(mesh.normals, mesh.positions, mesh.vertexCount);
    return mesh;
}

// The box around `count` vertices; an empty model gets the point at its origin.
static ModelBounds BoxAround(const float* positions, int32_t count)
{
    ModelBounds box = {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}};
    for (int v = 0; v < count; v++)
        for (int a = 0; a < 3; a++) {
            float p = positions[3 * v + a];
            box.low[a] = (v == 0 || p < box.low[a]) ? p : box.low[a];
            box.high[a] = (v == 0 || p > box.high[a]) ? p : box.high[a];
        }
    return box;
}

void LoadTileModels()
{
    for (int m = 0; m < TILE_TYPE_COUNT; m++) {
        Mesh mesh = LoadPreparedMesh("Media/worldtiles/worldtile", m);
        TileModel& model = tileModels[m];
        int32_t count = mesh.vertexCount;
        model.vertexCount = count;
        model.texCoords = mesh.texCoords;
        model.positions[0] = mesh.positions;
        model.normals[0] = mesh.normals;

        // Pre-turned copies, so drawing and collision only ever translate a tile.
        for (int r = 1; r < ORIENTATION_COUNT; r++) {
            float angle = (float)(QUARTER_TURN_DEGREES * r) * DEGREES_TO_RADIANS;
            float c = (float)cos((double)angle);
            float s = (float)sin((double)angle);
            float* turned = new float[3 * count];
            const float* base = model.positions[0];
            for (int v = 0; v < count; v++) {
                float x = base[3 * v];
                float y = base[3 * v + 1];
                float z = base[3 * v + 2];
                turned[3 * v] = c * x + s * z;
                turned[3 * v + 1] = y;
                turned[3 * v + 2] = c * z - s * x;
            }
            model.positions[r] = turned;
            model.normals[r] = new float[3 * count];
            SetFaceNormals(model.normals[r], turned, count);
        }
        for (int r = 0; r < ORIENTATION_COUNT; r++) {
            model.collision[r] = BuildCollisionMesh(count, model.positions[r]);
            model.bounds[r] = BoxAround(model.positions[r], count);
        }
    }
}

void LoadEntityModels()
{
    for (int k = 0; k < ENTITY_KIND_COUNT; k++) {
        Mesh mesh = LoadPreparedMesh("Media/entities/entity", k);
        EntityModel& model = entityModels[k];
        model.vertexCount = mesh.vertexCount;
        model.positions = mesh.positions;
        model.texCoords = mesh.texCoords;
        model.normals = mesh.normals;
        model.collision = BuildCollisionMesh(model.vertexCount, model.positions);
        // An entity turns freely about +y: the box holds the cylinder through its farthest vertex.
        model.bounds = BoxAround(model.positions, model.vertexCount);
        double radius = 0.0;
        for (int v = 0; v < model.vertexCount; v++) {
            const float* p = model.positions + 3 * v;
            radius = std::fmax(radius, std::sqrt((double)p[0] * p[0] + (double)p[2] * p[2]));
        }
        model.bounds.low[0] = model.bounds.low[2] = (float)-radius;
        model.bounds.high[0] = model.bounds.high[2] = (float)radius;
    }
}
