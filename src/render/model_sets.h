// Model sets: the tile and entity models loaded at world start-up, prepared for drawing and collision.
#pragma once

#include <cstdint>

#include "render/obj_loader.h"
#include "world/world_grid.h"

// A box around a model's vertices, in the model's own coordinates.
struct ModelBounds {
    float low[3];   // least x, y, z
    float high[3];  // greatest x, y, z
};

// A tile model in its four quarter-turn orientations.
struct TileModel {
    int32_t vertexCount;                           // the same for every orientation
    float* texCoords;                              // shared by the four orientations
    float* positions[ORIENTATION_COUNT];           // orientation r turned r x 90 degrees about +y
    float* normals[ORIENTATION_COUNT];             // flat face normals per orientation
    CollisionMesh* collision[ORIENTATION_COUNT];   // collision mesh per orientation
    ModelBounds bounds[ORIENTATION_COUNT];         // box around positions[r]
};

// An entity model; entities are turned by their own angle when drawn.
struct EntityModel {
    int32_t vertexCount;
    float* positions;
    float* texCoords;
    float* normals;            // flat face normals
    CollisionMesh* collision;
    ModelBounds bounds;        // box around the model at every turn about +y
};

extern TileModel tileModels[TILE_TYPE_COUNT];        // by tile code
extern EntityModel entityModels[ENTITY_KIND_COUNT];  // by entity kind

// Loads Media/worldtiles/worldtile0.obj .. worldtile45.obj with their bounds; a missing file gives an
// empty model.
void LoadTileModels();

// Loads Media/entities/entity0.obj .. entity2.obj with their bounds; a missing file gives an empty model.
void LoadEntityModels();
