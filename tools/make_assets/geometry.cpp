// Geometry: the closed solids the models are built from, and the OBJ files they are written to.
//
// Every solid (box, sloped slab, prism, pyramid, gable) is closed, each face
// counter-clockwise seen from outside. Large faces are cut into patches of at
// most 5 units so that the one world texture, stretched over every triangle,
// keeps a steady scale. Every patch is two right-angled triangles whose right
// angle is corner 0, matching the fixed texture pattern (0, 1), (1, 1), (0, 0)
// that the game gives each triangle.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "make_assets.h"

std::vector<Triangle> modelTriangles;

// ---- vectors and faces

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

// ---- closed solids

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
void AddBox(double x0, double x1, double y0, double y1, double z0, double z1)
{
    Point bottom[4] = {{x0, y0, z0}, {x0, y0, z1}, {x1, y0, z1}, {x1, y0, z0}};
    Point top[4] = {{x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}};
    AddHexahedron(bottom, top);
}

// A slab running along z from z0 to z1 whose bottom and top heights change
// linearly from (bottom0, top0) at z0 to (bottom1, top1) at z1.
void AddSlopedSlabZ(double x0, double x1, double z0, double z1, double bottom0, double top0,
                    double bottom1, double top1)
{
    Point bottom[4] = {{x0, bottom0, z0}, {x0, bottom1, z1}, {x1, bottom1, z1}, {x1, bottom0, z0}};
    Point top[4] = {{x0, top0, z0}, {x0, top1, z1}, {x1, top1, z1}, {x1, top0, z0}};
    AddHexahedron(bottom, top);
}

// The same along x: heights change linearly from (bottom0, top0) at x0 to
// (bottom1, top1) at x1.
void AddSlopedSlabX(double x0, double x1, double z0, double z1, double bottom0, double top0,
                    double bottom1, double top1)
{
    Point bottom[4] = {{x0, bottom0, z0}, {x0, bottom0, z1}, {x1, bottom1, z1}, {x1, bottom1, z0}};
    Point top[4] = {{x0, top0, z0}, {x0, top0, z1}, {x1, top1, z1}, {x1, top1, z0}};
    AddHexahedron(bottom, top);
}

// A closed upright prism of the given number of sides around (cx, cz).
void AddPrism(double cx, double cz, double radius, int sides, double y0, double y1)
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
void AddPyramid(double cx, double cz, double radius, int sides, double y0, double apexY)
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
void AddGableZ(double x0, double x1, double y0, double ridgeY, double z0, double z1)
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

// ---- OBJ output

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
bool WriteObj(const std::string& path, const std::string& title)
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
