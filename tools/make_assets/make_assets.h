// Asset generator: what its files share to write every file of Media/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "world/world_grid.h"

constexpr double PI = 3.14159265358979323846;

// ---- geometry and OBJ output (geometry.cpp)

struct Point {
    double x, y, z;
};

struct Triangle {
    Point corner[3];
};

// The model being built: every Add... appends its closed solid, WriteObj writes it out.
extern std::vector<Triangle> modelTriangles;

// An axis-aligned box.
void AddBox(double x0, double x1, double y0, double y1, double z0, double z1);

// A slab running along z whose bottom and top heights change linearly from
// (bottom0, top0) at z0 to (bottom1, top1) at z1; AddSlopedSlabX the same along x.
void AddSlopedSlabZ(double x0, double x1, double z0, double z1, double bottom0, double top0, double bottom1,
                    double top1);
void AddSlopedSlabX(double x0, double x1, double z0, double z1, double bottom0, double top0, double bottom1,
                    double top1);

// An upright prism of `sides` sides around (cx, cz), from y0 to y1.
void AddPrism(double cx, double cz, double radius, int sides, double y0, double y1);

// A pyramid on a ring of `sides` points at height y0, its apex above or below the centre.
void AddPyramid(double cx, double cz, double radius, int sides, double y0, double apexY);

// A roof prism with its ridge along z at ridgeY, its eaves at y0 along x0 and x1.
void AddGableZ(double x0, double x1, double y0, double ridgeY, double z0, double z1);

// Writes modelTriangles as an OBJ file whose first line is the comment `title`.
bool WriteObj(const std::string& path, const std::string& title);

// ---- model recipes (tile_models.cpp, entity_models.cpp)

// How the model of one tile code or entity kind is built, and the name written into its file.
struct ModelRecipe {
    int code;
    void (*build)();
    const char* name;
};

// Whether a recipe table holds each code 0..count-1 exactly once, at its own
// index, so that a missing, doubled or misplaced recipe fails to compile.
template <int N>
constexpr bool HoldsEachCodeOnce(const ModelRecipe (&recipes)[N], int count)
{
    if (N != count) return false;
    for (int code = 0; code < count; code++)
        if (recipes[code].code != code || !recipes[code].build) return false;
    return true;
}

extern const ModelRecipe TILE_RECIPES[TILE_TYPE_COUNT];      // indexed by tile code
extern const ModelRecipe ENTITY_RECIPES[ENTITY_KIND_COUNT];  // indexed by entity kind

// ---- images (world_texture.cpp, interface_atlas.cpp, png_output.cpp)

constexpr int TEXTURE_SIZE = 256;
constexpr int ATLAS_W = 1024;
constexpr int ATLAS_H = 256;

// The world texture: TEXTURE_SIZE x TEXTURE_SIZE RGB pixels, rows top first.
std::vector<uint8_t> MakeWorldTexture();

// Renders the font's glyphs with FreeType; false (with a message) when the font cannot be read.
bool RenderFont();

// The interface atlas from the rendered font: ATLAS_W x ATLAS_H RGBA pixels, rows top first.
std::vector<uint8_t> MakeDashboard();

// Signed distance from (px, py) to a rounded rectangle (negative inside).
double RoundedBoxDistance(double px, double py, double x0, double y0, double x1, double y1, double radius);

// ---- the menu icon (icon.cpp)

constexpr int ICON_SIZES[] = {48, 256};  // the sides, in pixels, of the icons the package installs

// The icon at size x size RGBA pixels, rows top first; clear around its rounded panel.
std::vector<uint8_t> MakeIcon(int size);

// Writes 8-bit RGB (channels 3) or RGBA (channels 4) pixels as a PNG file.
bool WritePng(const std::string& path, int width, int height, int channels, const std::vector<uint8_t>& pixels);
