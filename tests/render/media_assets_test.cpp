// The shipped models and world texture of Media/: format, closure, facing, sizes
// and how they fit the placement of tiles and entities.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "render/obj_loader.h"
#include "support/test_support.h"
#include "world/world_grid.h"

namespace {

struct P3 {
    double x, y, z;
};

struct Tri {
    P3 a, b, c;
};

P3 Sub(P3 u, P3 v) { return {u.x - v.x, u.y - v.y, u.z - v.z}; }
P3 Cross(P3 u, P3 v) { return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x}; }
double Dot(P3 u, P3 v) { return u.x * v.x + u.y * v.y + u.z * v.z; }

std::string TilePath(int code) { return "Media/worldtiles/worldtile" + std::to_string(code) + ".obj"; }
std::string EntityPath(int kind) { return "Media/entities/entity" + std::to_string(kind) + ".obj"; }

// The triangles of a model file as the game's loader reads them.
std::vector<Tri> LoadTriangles(const std::string& path)
{
    Mesh mesh = LoadObjMesh(path.c_str(), 1.0f);
    std::vector<Tri> tris;
    for (int t = 0; t < mesh.vertexCount / 3; t++) {
        const float* p = mesh.positions + 9 * t;
        tris.push_back({{p[0], p[1], p[2]}, {p[3], p[4], p[5]}, {p[6], p[7], p[8]}});
    }
    return tris;
}

// A model turned by r quarter turns and moved to (ox, oy, oz), by the rule
// the model sets use: x' = c x + s z, z' = c z - s x.
std::vector<Tri> Place(const std::vector<Tri>& model, int r, double ox, double oy, double oz)
{
    const double c[4] = {1, 0, -1, 0}, s[4] = {0, 1, 0, -1};
    auto move = [&](P3 p) { return P3{c[r] * p.x + s[r] * p.z + ox, p.y + oy, c[r] * p.z - s[r] * p.x + oz}; };
    std::vector<Tri> out;
    for (const Tri& t : model) out.push_back({move(t.a), move(t.b), move(t.c)});
    return out;
}

// Distance along dir from origin to the triangle, or -1 when the ray misses.
double RayHit(P3 origin, P3 dir, const Tri& t)
{
    P3 e1 = Sub(t.b, t.a), e2 = Sub(t.c, t.a);
    P3 h = Cross(dir, e2);
    double det = Dot(e1, h);
    if (std::fabs(det) < 1e-12) return -1;
    P3 s = Sub(origin, t.a);
    double u = Dot(s, h) / det;
    if (u < 0 || u > 1) return -1;
    P3 q = Cross(s, e1);
    double v = Dot(dir, q) / det;
    if (v < 0 || u + v > 1) return -1;
    double dist = Dot(e2, q) / det;
    return dist > 1e-9 ? dist : -1;
}

// Whether a point lies inside the solids of a model: the majority of three
// rays in unrelated directions cross its surface an odd number of times.
bool Inside(const std::vector<Tri>& tris, P3 p)
{
    const P3 dirs[3] = {{0.2718, 0.8776, 0.3943}, {-0.5311, 0.3119, 0.7879}, {0.6907, -0.4412, -0.5729}};
    int odd = 0;
    for (const P3& d : dirs) {
        int hits = 0;
        for (const Tri& t : tris) hits += RayHit(p, d, t) > 0;
        odd += hits % 2;
    }
    return odd >= 2;
}

// Height of the first surface met going straight down from p, or -1000.
double FloorBelow(const std::vector<Tri>& tris, P3 p)
{
    double best = 1e9;
    for (const Tri& t : tris) {
        double d = RayHit(p, {0, -1, 0}, t);
        if (d > 0 && d < best) best = d;
    }
    return best < 1e9 ? p.y - best : -1000;
}

struct Bounds {
    double lo[3], hi[3];
};

Bounds BoundsOf(const std::vector<Tri>& tris)
{
    Bounds b = {{1e9, 1e9, 1e9}, {-1e9, -1e9, -1e9}};
    for (const Tri& t : tris) {
        for (const P3& p : {t.a, t.b, t.c}) {
            const double v[3] = {p.x, p.y, p.z};
            for (int k = 0; k < 3; k++) {
                b.lo[k] = std::min(b.lo[k], v[k]);
                b.hi[k] = std::max(b.hi[k], v[k]);
            }
        }
    }
    return b;
}

std::vector<std::string> AllModelPaths()
{
    std::vector<std::string> paths;
    for (int code = 0; code < TILE_TYPE_COUNT; code++) paths.push_back(TilePath(code));
    for (int kind = 0; kind < ENTITY_KIND_COUNT; kind++) paths.push_back(EntityPath(kind));
    return paths;
}

}  // namespace

TEST(MediaModels, EveryModelIsATriangulatedObjThatTheLoaderReadsWhole)
{
    for (const std::string& path : AllModelPaths()) {
        SCOPED_TRACE(path);
        std::ifstream file(path);
        ASSERT_TRUE(file.good());
        std::string line;
        int v = 0, vt = 0, vn = 0, faces = 0;
        std::vector<std::string> faceLines;
        while (std::getline(file, line)) {
            std::istringstream words(line);
            std::string keyword;
            words >> keyword;
            if (keyword == "#") {
                // The loader reads comments word by word: none may be a keyword.
                std::string word;
                while (words >> word) EXPECT_TRUE(word != "v" && word != "vt" && word != "vn" && word != "f") << line;
            } else if (keyword == "v") {
                v++;
            } else if (keyword == "vt") {
                vt++;
            } else if (keyword == "vn") {
                vn++;
            } else if (keyword == "f") {
                faces++;
                faceLines.push_back(line);
            } else {
                ADD_FAILURE() << "unexpected statement: " << line;
            }
        }
        for (const std::string& f : faceLines) {
            std::istringstream words(f.substr(2));
            std::string corner;
            int corners = 0;
            while (words >> corner) {
                int a = 0, b = 0, c = 0;
                char s1 = 0, s2 = 0;
                std::istringstream parts(corner);
                parts >> a >> s1 >> b >> s2 >> c;
                ASSERT_TRUE(parts && s1 == '/' && s2 == '/') << f;
                EXPECT_TRUE(a >= 1 && a <= v && b >= 1 && b <= vt && c >= 1 && c <= vn) << f;
                corners++;
            }
            EXPECT_EQ(corners, 3) << f;
        }
        Mesh mesh = LoadObjMesh(path.c_str(), 1.0f);
        EXPECT_EQ(mesh.vertexCount, 3 * faces);
        EXPECT_LE(faces, 400);
        if (path != TilePath(TILE_EMPTY)) {
            EXPECT_GE(faces, 12);
        }
    }
    EXPECT_EQ(LoadTriangles(TilePath(TILE_EMPTY)).size(), 0u);
}

TEST(MediaModels, EverySolidIsClosedAndFacesOutward)
{
    for (const std::string& path : AllModelPaths()) {
        SCOPED_TRACE(path);
        std::vector<Tri> tris = LoadTriangles(path);
        // Closed and consistently wound: every directed edge has its reverse.
        std::map<std::tuple<float, float, float, float, float, float>, int> edges;
        for (const Tri& t : tris) {
            const P3 c[3] = {t.a, t.b, t.c};
            for (int k = 0; k < 3; k++) {
                P3 u = c[k], w = c[(k + 1) % 3];
                edges[std::make_tuple((float)u.x, (float)u.y, (float)u.z, (float)w.x, (float)w.y, (float)w.z)]++;
            }
        }
        int unmatched = 0;
        for (const auto& e : edges) {
            auto reverse = std::make_tuple(std::get<3>(e.first), std::get<4>(e.first), std::get<5>(e.first),
                                           std::get<0>(e.first), std::get<1>(e.first), std::get<2>(e.first));
            auto found = edges.find(reverse);
            if (found == edges.end() || found->second != e.second) unmatched++;
        }
        EXPECT_EQ(unmatched, 0);
        // Counter-clockwise seen from outside: solid lies just behind each face.
        int inward = 0, degenerate = 0;
        for (const Tri& t : tris) {
            P3 n = Cross(Sub(t.b, t.a), Sub(t.c, t.a));
            double length = std::sqrt(Dot(n, n));
            if (length < 1e-6) {
                degenerate++;
                continue;
            }
            P3 centre = {(t.a.x + t.b.x + t.c.x) / 3, (t.a.y + t.b.y + t.c.y) / 3, (t.a.z + t.b.z + t.c.z) / 3};
            double e = 1e-3 / length;
            if (!Inside(tris, {centre.x - n.x * e, centre.y - n.y * e, centre.z - n.z * e})) inward++;
        }
        EXPECT_EQ(degenerate, 0);
        EXPECT_EQ(inward, 0);
    }
}

TEST(MediaModels, TilesStayInTheirCellExceptThePiecesThatReachAcross)
{
    for (int code = 1; code < TILE_TYPE_COUNT; code++) {
        SCOPED_TRACE(code);
        Bounds b = BoundsOf(LoadTriangles(TilePath(code)));
        switch (code) {
        case TILE_DESCENT_RAMP:  // one ramp runs over three cells along z and rises 1 unit above its cell
            EXPECT_EQ(b.lo[2], -15);
            EXPECT_EQ(b.hi[2], 15);
            EXPECT_EQ(b.lo[0], -5);
            EXPECT_EQ(b.hi[0], 5);
            EXPECT_EQ(b.lo[1], -5);
            EXPECT_EQ(b.hi[1], 7.5);
            break;
        case TILE_BRIDGE_SHORT:  // also floors the two emptied column cells on -x and +x
            EXPECT_EQ(b.lo[0], -15);
            EXPECT_EQ(b.hi[0], 15);
            EXPECT_EQ(b.lo[2], -5);
            EXPECT_EQ(b.hi[2], 5);
            break;
        case TILE_ROOM_TOP_DOUBLE:  // takes in the cell on +z and rises into the layer above
            EXPECT_EQ(b.lo[2], -5);
            EXPECT_EQ(b.hi[2], 15);
            EXPECT_LE(b.hi[1], 15);
            break;
        case TILE_WALL_FIXTURE_WIDE:  // spans its own cell and both neighbours along the wall
            EXPECT_EQ(b.lo[2], -14);
            EXPECT_EQ(b.hi[2], 14);
            EXPECT_EQ(b.hi[0], 5);
            break;
        default:
            for (int k = 0; k < 3; k++) {
                EXPECT_GE(b.lo[k], -5) << "axis " << k;
                EXPECT_LE(b.hi[k], 5) << "axis " << k;
            }
        }
    }
}

// Points that must be solid or open in the base orientation of a tile.
struct Probe {
    int code;
    P3 point;
    bool solid;
    const char* what;
};

TEST(MediaModels, OrientedPiecesFaceAsTheGridExpectsAtOrientationZero)
{
    const Probe probes[] = {
        {TILE_WALL_FLOOR, {-4.5, 0, 0}, true, "wall on -x"},
        {TILE_WALL_FLOOR, {4.5, 0, 0}, false, "open on +x"},
        {TILE_WALL_FLOOR, {0, 0, 4.5}, false, "open on +z"},
        {TILE_WALL_COLUMN, {-4.5, 3, 0}, true, "wall on -x"},
        {TILE_WALL_COLUMN, {4.5, 0, 0}, false, "open on +x"},
        {TILE_THICK_WALL_FLOOR, {-4.5, 0, 0}, true, "wall on -x"},
        {TILE_THICK_WALL_FLOOR, {4.5, 0, 0}, false, "open on +x"},
        {TILE_THICK_WALL_COLUMN, {-4.5, 3, 0}, true, "wall on -x"},
        {TILE_CORNER_FLOOR, {-4.5, 0, 0}, true, "wall on -x"},
        {TILE_CORNER_FLOOR, {0, 0, 4.5}, true, "wall on +z"},
        {TILE_CORNER_FLOOR, {4.5, 0, 0}, false, "open on +x"},
        {TILE_CORNER_FLOOR, {0, 0, -4.5}, false, "open on -z"},
        {TILE_CORNER_COLUMN, {-4.5, 3, 0}, true, "wall on -x"},
        {TILE_CORNER_COLUMN, {0, 3, 4.5}, true, "wall on +z"},
        {TILE_CORNER_COLUMN, {0, 3, -4.5}, false, "open on -z"},
        {TILE_EDGE_FEATURE, {-4.5, 3, 4}, true, "wall on -x"},
        {TILE_EDGE_FEATURE, {-4.5, 0, 0}, false, "doorway through the -x wall"},
        {TILE_BRIDGE_END, {-4.5, 0, 0}, false, "doorway through the -x wall"},
        {TILE_BRIDGE_END, {-4.5, 3, 4}, true, "wall on -x"},
        {TILE_BRIDGE_END, {4.5, 0, 0}, false, "open on +x"},
        {TILE_CHANNEL_SIDE, {-4.5, 0, 0}, true, "tunnel wall away from the channel"},
        {TILE_CHANNEL_SIDE, {2, -4.3, 0}, true, "walkway"},
        {TILE_CHANNEL_SIDE, {4.5, 0, 0}, false, "open toward the channel on +x"},
        {TILE_CHANNEL, {0, -4.3, 0}, false, "bed below the walkways"},
        {TILE_CHANNEL, {0, -4.8, 0}, true, "bed"},
        {TILE_DESCENT_TOP, {-4.5, 0, 0}, false, "doorway to the descent on -x"},
        {TILE_DESCENT_TOP, {-4.5, 0, -4.6}, true, "tunnel wall beside the doorway"},
        {TILE_DESCENT_TOP, {4.5, 0, 0}, false, "open toward the channel on +x"},
        {TILE_CHANNEL_INNER_CORNER, {4.5, 0, 0}, false, "open toward the channel on +x"},
        {TILE_CHANNEL_INNER_CORNER, {0, 0, -4.5}, false, "open toward the channel on -z"},
        {TILE_CHANNEL_INNER_CORNER, {-4.5, 0, 4.5}, true, "walls of the neighbours meet at -x +z"},
        {TILE_CHANNEL_OUTER_CORNER, {-4.5, 0, 0}, true, "wall on -x"},
        {TILE_CHANNEL_OUTER_CORNER, {0, 0, 4.5}, true, "wall on +z"},
        {TILE_CHANNEL_OUTER_CORNER, {4.5, 0, -4.5}, false, "open toward the diagonal channel"},
        {TILE_WALL_OUTLET, {0, -4.5, 0}, false, "opening down to the channel head"},
        {TILE_WALL_OUTLET, {0, -4.5, 4}, true, "paving"},
        {TILE_CAVE_WALL, {0, 0, -4}, true, "rock behind"},
        {TILE_CAVE_WALL, {4.7, 0, 4.9}, false, "open cave on +z"},
        {TILE_CAVE_ENTRANCE, {0, 0, 4.5}, false, "passage on +z"},
        {TILE_CAVE_ENTRANCE, {0, 0, -4.5}, false, "passage on -z"},
        {TILE_CAVE_ENTRANCE, {-4.5, 0, 0}, true, "side wall"},
        {TILE_CAVE_PARTITION, {0, 0, 0}, true, "wall along x"},
        {TILE_CAVE_PARTITION, {0, 0, 4}, false, "open on +z"},
        {TILE_CAVE_PARTITION, {0, 0, -4}, false, "open on -z"},
        {TILE_CAVE_OPEN_CENTRE, {-2.6, -3.5, -2.6}, true, "stalagmite"},
        {TILE_CAVE_OPEN_CENTRE, {2.6, 3.5, 2.6}, true, "stalactite"},
        {TILE_CAVE_OPEN_CENTRE, {0, 0, 0}, false, "open middle"},
        {TILE_CAVE_BLOCK, {0, 0, 0}, true, "solid"},
        {TILE_ROCK, {0, 0, 0}, true, "solid"},
        {TILE_BOUNDARY, {0, 0, 0}, true, "solid"},
        {TILE_ROCK_EDGE, {-4, 4.7, 0}, false, "stepped edge on -x"},
        {TILE_ROCK_EDGE, {4, 4.7, 0}, true, "full height elsewhere"},
        {TILE_ROCK_CORNER, {0, 4.7, 4}, false, "stepped edge on +z"},
        {TILE_ROCK_CORNER, {-4, 4.7, 0}, false, "stepped edge on -x"},
        {TILE_ROCK_CORNER, {4, 4.7, -4}, true, "full height elsewhere"},
        {TILE_BRIDGE_SPAN, {0, -4.5, 0}, true, "deck"},
        {TILE_BRIDGE_SPAN, {0, -3.5, 3.2}, true, "parapet on +z"},
        {TILE_BRIDGE_SPAN, {4.9, -3, 0}, false, "open along x"},
        {TILE_BRIDGE_SHORT, {-10, -4.5, 0}, true, "floor of the emptied column on -x"},
        {TILE_BRIDGE_SHORT, {10, -4.5, 0}, true, "floor of the emptied column on +x"},
        {TILE_BRIDGE_SHORT, {5.5, 0, 0}, false, "doorway on +x"},
        {TILE_BRIDGE_SHORT, {-5.5, 3, 4}, true, "wall around the doorway on -x"},
        {TILE_ROOM_TOP, {0, 4.5, 0}, true, "roof"},
        {TILE_ROOM_TOP, {0, 0, 0}, false, "storey under it"},
        {TILE_ROOM_TOP_DOUBLE, {0, 4.5, 10}, true, "roof over the cell on +z"},
        {TILE_ROOM_TOP_DOUBLE, {0, -4.5, 10}, true, "floor of the cell on +z"},
        {TILE_ROOM_TOP_DOUBLE, {0, 0, 10}, false, "storey of the cell on +z"},
        {TILE_WALL_FIXTURE_1, {4, -1.5, 0}, true, "hangs on the wall at +x"},
        {TILE_WALL_FIXTURE_2, {4, 2.5, 0}, true, "hangs on the wall at +x"},
        {TILE_WALL_FIXTURE_3, {4.5, 0, 0}, true, "hangs on the wall at +x"},
        {TILE_WALL_FIXTURE_3, {-4.5, 0, 0}, false, "nothing on -x"},
        {TILE_WALL_FIXTURE_WIDE, {4.5, 0, -12}, true, "spans the neighbour on -z"},
        {TILE_WALL_FIXTURE_WIDE, {4.5, 0, 12}, true, "spans the neighbour on +z"},
        {TILE_COLUMN_CAP, {-4.5, -4.6, 0}, true, "on the wall top at -x"},
        {TILE_COLUMN_CAP, {3, -4.6, 0}, false, "nothing over the room"},
    };
    std::map<int, std::vector<Tri>> models;
    for (const Probe& probe : probes) {
        if (!models.count(probe.code)) models[probe.code] = LoadTriangles(TilePath(probe.code));
        EXPECT_EQ(Inside(models[probe.code], probe.point), probe.solid)
            << "tile " << probe.code << ": " << probe.what << " at (" << probe.point.x << ", " << probe.point.y
            << ", " << probe.point.z << ")";
    }
}

TEST(MediaModels, FloorsAreWalkableOneUnitUnderCollectablesAndUnderProps)
{
    // Collectables are placed 3 below a cell's centre and props 4 below the
    // centre of layer 3, so every floor is at -4.
    const int floors[] = {TILE_CORNER_COLUMN, TILE_WALL_COLUMN, TILE_THICK_WALL_COLUMN, TILE_ROOM_TOP,
                          TILE_WALL_CORE_CENTRE, TILE_WALL, TILE_WALL_CORNER, TILE_WALL_CORE, TILE_WALL_OUTLET,
                          TILE_CHANNEL_SIDE, TILE_CAVE_OPEN_CENTRE, TILE_CAVE_ENTRANCE, TILE_CAVE_FLOOR,
                          TILE_DESCENT_TOP, TILE_CORNER_FLOOR, TILE_WALL_FLOOR, TILE_THICK_WALL_FLOOR,
                          TILE_EDGE_FEATURE, TILE_FLOOR, TILE_CHANNEL_INNER_CORNER, TILE_CHANNEL_OUTER_CORNER,
                          TILE_BRIDGE_END, TILE_PROP_GROUND, TILE_ROOM_TOP_DOUBLE};
    for (int code : floors) {
        std::vector<Tri> tris = LoadTriangles(TilePath(code));
        for (P3 at : {P3{3.2, 0, -3.2}, P3{-2.6, 0, 3.1}}) {
            EXPECT_DOUBLE_EQ(FloorBelow(tris, {at.x, -3.0, at.z}), -4.0) << "tile " << code;
            EXPECT_FALSE(Inside(tris, {at.x, -3.9, at.z})) << "tile " << code;
            EXPECT_FALSE(Inside(tris, {at.x, 0.4, at.z})) << "tile " << code << ": a player fits";
        }
    }
    // A collectable over a room top floats 2 units over its walkable roof.
    EXPECT_DOUBLE_EQ(FloorBelow(LoadTriangles(TilePath(TILE_ROOM_TOP)), {3.2, 7.0, -3.2}), 5.0);
    // The channel bed lies under a collectable too, 0.6 below the walkways.
    EXPECT_FLOAT_EQ(FloorBelow(LoadTriangles(TilePath(TILE_CHANNEL)), {0, -3, 0}), -4.6f);

    // Props: spawned 4 units under the centre at offsets -4 .. 3.9 on x and z,
    // anywhere on wall and prop-ground cells; the ground is flat under all of it.
    for (int code : {TILE_WALL, TILE_PROP_GROUND}) {
        std::vector<Tri> tris = LoadTriangles(TilePath(code));
        for (double x = -5; x <= 5; x += 0.5) {
            for (double z = -5; z <= 5; z += 0.5) {
                double px = std::min(4.99, std::max(-4.99, x)), pz = std::min(4.99, std::max(-4.99, z));
                EXPECT_DOUBLE_EQ(FloorBelow(tris, {px, 4.9, pz}), -4.0) << "tile " << code << " at " << x << ", " << z;
            }
        }
    }
}

TEST(MediaModels, CollectableCellsLeaveRoomForTheGemWithinReachOfAFloor)
{
    // Collectables float at the middle of cells of these codes, 3 under the centre.
    const int codes[] = {TILE_WALL_COLUMN, TILE_THICK_WALL_COLUMN, TILE_ROOM_TOP, TILE_WALL_CORE_CENTRE, TILE_WALL,
                         TILE_WALL_CORNER, TILE_WALL_CORE, TILE_WALL_OUTLET, TILE_CHANNEL, TILE_CAVE_OPEN_CENTRE,
                         TILE_CAVE_ENTRANCE, TILE_CAVE_FLOOR, TILE_FLOOR};
    std::vector<Tri> gem = LoadTriangles(EntityPath(ENTITY_COLLECTABLE));
    Bounds g = BoundsOf(gem);
    for (int code : codes) {
        std::vector<Tri> tris = LoadTriangles(TilePath(code));
        for (double x = g.lo[0]; x <= g.hi[0] + 1e-9; x += (g.hi[0] - g.lo[0]) / 4)
            for (double y = g.lo[1]; y <= g.hi[1] + 1e-9; y += (g.hi[1] - g.lo[1]) / 4)
                for (double z = g.lo[2]; z <= g.hi[2] + 1e-9; z += (g.hi[2] - g.lo[2]) / 4)
                    EXPECT_FALSE(Inside(tris, {x, y - 3, z})) << "tile " << code << " cuts the gem at " << x << ", "
                                                              << y << ", " << z;
        // The player's feet can come within the pickup radius of 3.25: on a
        // floor under the gem, or at the edge of the outlet's opening.
        double floor = FloorBelow(tris, {0, -3, 0});
        if (code == TILE_WALL_OUTLET) {
            double edge = FloorBelow(tris, {2.6, -3, 0});
            EXPECT_GE(edge, -4.0);
            EXPECT_LT(std::hypot(2.6, -3 - edge), 3.25);
        } else {
            EXPECT_GE(floor, -4.6) << "tile " << code;
            EXPECT_LT(-3 - floor, 3.25) << "tile " << code;
        }
    }
}

TEST(MediaModels, EntitiesFitWhereTheyArePlacedAndMoved)
{
    // Prop: stands on its origin and stays within 1 unit of its axis, so that
    // at any heading and offset (-4 .. 3.9) it stays inside its cell.
    std::vector<Tri> prop = LoadTriangles(EntityPath(ENTITY_PROP));
    Bounds b = BoundsOf(prop);
    EXPECT_EQ(b.lo[1], 0);
    double reach = 0;
    for (const Tri& t : prop)
        for (const P3& p : {t.a, t.b, t.c}) reach = std::max(reach, std::hypot(p.x, p.z));
    EXPECT_LE(reach, 1.0 + 1e-6);
    EXPECT_GT(reach, 0.5);
    EXPECT_LT(b.hi[1], 4.5);

    // Collectable: placed 1 unit over a floor; the gem clears the floor and
    // stays below the player's eye (3.8 over the feet).
    Bounds gem = BoundsOf(LoadTriangles(EntityPath(ENTITY_COLLECTABLE)));
    EXPECT_GT(gem.lo[1], -1.0);
    EXPECT_LT(gem.hi[1] + 1.0, 3.8);
    EXPECT_LE(std::max(std::fabs(gem.lo[0]), std::fabs(gem.hi[0])), 1.0);

    // Lift: underside at the origin, so a lift waiting 4.5 over the player's
    // feet just clears the head; 1 unit thick, so with its origin on a cell
    // boundary it is flush with that cell's floor.
    std::vector<Tri> lift = LoadTriangles(EntityPath(ENTITY_LIFT));
    Bounds l = BoundsOf(lift);
    EXPECT_EQ(l.lo[1], 0);
    EXPECT_EQ(l.hi[1], 1);
    EXPECT_EQ(-5 + l.hi[1], -4);
    EXPECT_EQ(l.lo[0], -4);
    EXPECT_EQ(l.hi[0], 4);
    EXPECT_EQ(l.lo[2], -4);
    EXPECT_EQ(l.hi[2], 4);
    // It rests on the pad of the lift bottom (top at the cell centre, where it turns) ...
    std::vector<Tri> bottom = LoadTriangles(TilePath(TILE_LIFT_BOTTOM));
    for (double x = -3.9; x <= 3.9; x += 1.3)
        for (double z = -3.9; z <= 3.9; z += 1.3) EXPECT_DOUBLE_EQ(FloorBelow(bottom, {x, 4.0, z}), 0.0);
    // ... and passes through the bottom, shaft and top tiles without touching them.
    std::vector<Tri> shaft = LoadTriangles(TilePath(TILE_LIFT_SHAFT));
    std::vector<Tri> top = LoadTriangles(TilePath(TILE_LIFT_TOP));
    for (double x = -4.05; x <= 4.05; x += 0.9) {
        for (double z = -4.05; z <= 4.05; z += 0.9) {
            for (double y = -4.95; y <= 4.95; y += 0.45) {
                EXPECT_FALSE(Inside(shaft, {x, y, z})) << x << ", " << y << ", " << z;
                if (y <= 1.0) {
                    EXPECT_FALSE(Inside(top, {x, y, z})) << x << ", " << y << ", " << z;
                }
                if (y >= 0.05) {
                    EXPECT_FALSE(Inside(bottom, {x, y, z})) << x << ", " << y << ", " << z;
                }
            }
        }
    }
}

TEST(MediaModels, DescentPiecesJoinIntoOneWalkableRamp)
{
    // A descent running toward +z from a channel-side cell at (0, 2, 0) with
    // orientation 1: top on layer 2, ramps 2 cells on (layer 1) and 5 cells on
    // (layer 0) with orientation 0, entrance 7 cells on, cave floor after it.
    std::vector<Tri> world;
    auto put = [&](int code, int r, double x, double y, double z) {
        std::vector<Tri> placed = Place(LoadTriangles(TilePath(code)), r, x, y, z);
        world.insert(world.end(), placed.begin(), placed.end());
    };
    put(TILE_DESCENT_TOP, 1, 0, 20, 0);
    put(TILE_DESCENT_RAMP, 0, 0, 10, 20);
    put(TILE_DESCENT_RAMP, 0, 0, 0, 50);
    put(TILE_CAVE_ENTRANCE, 0, 0, 0, 70);
    put(TILE_CAVE_FLOOR, 0, 0, 0, 80);

    double height = 16;  // the walkway of layer 2
    for (double z = -4; z <= 84; z += 0.5) {
        double floor = FloorBelow(world, {0.3, height + 1.0, z});
        ASSERT_NEAR(floor, height, 0.2) << "step or gap at z = " << z;
        height = floor;
        for (double above : {0.3, 2.25, 4.4})
            EXPECT_FALSE(Inside(world, {0.3, height + above, z})) << "no headroom at z = " << z;
    }
    EXPECT_DOUBLE_EQ(height, -4.0);  // the cave floor
}

TEST(MediaAssets, WorldTextureIsASeamlessPowerOfTwoImage)
{
    SDL_Surface* image = IMG_Load("Media/worldtexture.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->w, 256);
    EXPECT_EQ(image->h, 256);
    ASSERT_EQ(image->format->BytesPerPixel, 3);
    auto pixel = [&](int x, int y) {
        const Uint8* p = (const Uint8*)image->pixels + y * image->pitch + x * 3;
        return (int)p[0] + p[1] + p[2];
    };
    // Every triangle shows the texture half-turned against its partner in a
    // patch: the image must equal itself turned half a turn.
    int mismatched = 0;
    long middle = 0, border = 0;
    for (int y = 0; y < 256; y++) {
        for (int x = 0; x < 256; x++) {
            const Uint8* p = (const Uint8*)image->pixels + y * image->pitch + x * 3;
            const Uint8* q = (const Uint8*)image->pixels + (255 - y) * image->pitch + (255 - x) * 3;
            mismatched += p[0] != q[0] || p[1] != q[1] || p[2] != q[2];
        }
        middle += pixel(128, y);
        border += pixel(1, y);
    }
    EXPECT_EQ(mismatched, 0);
    EXPECT_LT(border, middle * 8 / 10);  // the joints outline every patch
    EXPECT_GT(middle / 256 / 3, 110);    // bright enough to light well
    SDL_FreeSurface(image);
}

TEST(MediaAssets, GeneratorReproducesTheCommittedMedia)
{
    std::string binary = CAIRNFOLD_BINARY;
    std::string generator = binary.substr(0, binary.rfind('/')) + "/tools/make_assets";
    ASSERT_TRUE(FileExists(generator)) << generator;
    std::string dir = MakeTempDir();
    ASSERT_EQ(RunProcess({generator, dir}, dir, {}, 120000), 0);
    std::vector<std::string> files = AllModelPaths();
    files.push_back("Media/worldtexture.png");
    files.push_back("Media/dashboard.png");
    for (const std::string& file : files) {
        std::vector<unsigned char> committed = ReadFileBytes(file);
        EXPECT_FALSE(committed.empty()) << file;
        EXPECT_TRUE(ReadFileBytes(dir + "/" + file) == committed) << file << " differs from the generator's output";
    }
}
