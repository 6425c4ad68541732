// The shipped Media/: models read whole, closed, facing out and within their cells; images of
// the expected sizes; all of it exactly what the asset generator makes.
#include <SDL.h>
#include <SDL_image.h>
#include <array>
#include <map>
#include "support/test_support.h"

// Model m: tile codes 0..45, then entity kinds 0..2 as 46..48.
static std::string ModelPath(int m)
{
    return m < TILE_TYPE_COUNT ? "Media/worldtiles/worldtile" + std::to_string(m) + ".obj"
                               : "Media/entities/entity" + std::to_string(m - TILE_TYPE_COUNT) + ".obj";
}

TEST(MediaModels, EveryModelIsReadWholeClosedFacingOutAndWhereItIsPlaced)
{
    // Boxes of the models not within their own cell (-5..5); `reach`: the axis whose both ends it touches, 3 all.
    const struct { int model; float lo[3], hi[3]; int reach; } boxes[] = {
        {TILE_DESCENT_RAMP, {-5, -5, -15}, {5, 13, 15}, 3},      // a tunnel over three cells along z
        {TILE_LIFT_BOTTOM, {-15, -5, -15}, {15, 5, 15}, 3},      // ramps start in the four cells around
        {TILE_BRIDGE_SHORT, {-15, -5, -5}, {15, 5, 5}, 3},       // floors the emptied cells on -x and +x
        {TILE_ROOM_TOP_DOUBLE, {-5, -5, -5}, {5, 15, 15}, 2},    // takes in the cell on +z
        {TILE_WALL_FIXTURE_WIDE, {-5, -5, -14}, {5, 5, 14}, 2},  // its cell and both neighbours on the wall
        {TILE_TYPE_COUNT + ENTITY_COLLECTABLE, {-1, -1, -1}, {1, 2.8f, 1}, -1},  // 1 over a floor, under the eye
        {TILE_TYPE_COUNT + ENTITY_LIFT, {-4, 0, -4}, {4, 1, 4}, 3},              // a pad 1 thick over its origin
        {TILE_TYPE_COUNT + ENTITY_PROP, {-1, 0, -1}, {1, 4.5, 1}, 0},            // on its origin, 1 from its axis
    };
    for (int m = 0; m < TILE_TYPE_COUNT + ENTITY_KIND_COUNT; m++) {
        SCOPED_TRACE(ModelPath(m));
        std::ifstream file(ModelPath(m));
        ASSERT_TRUE(file.good());
        int faces = 0;
        for (std::string line; std::getline(file, line);) {
            std::istringstream words(line);
            std::string keyword, word;
            int rest = 0;
            bool keywordInside = false;
            // A comment is read word by word, so none of its words may be a keyword.
            for (words >> keyword; words >> word; rest++) keywordInside |= word == "v" || word == "vt" || word == "vn" || word == "f";
            EXPECT_TRUE(keyword == "v" || keyword == "vt" || keyword == "vn" || (keyword == "f" && rest == 3) ||
                        (keyword == "#" && !keywordInside)) << line;
            faces += keyword == "f";
        }
        // The loader keeps every face: each names entries of its own file with three fields a corner.
        Mesh mesh = LoadObjMesh(ModelPath(m).c_str(), 1.0f);
        std::vector<float> corners(mesh.positions, mesh.positions + 3 * mesh.vertexCount);
        FreeMesh(mesh);
        ASSERT_EQ((int)corners.size(), 9 * faces);
        EXPECT_EQ(faces == 0, m == TILE_EMPTY);
        // Closed and consistently wound: every directed edge has its reverse as often. Facing
        // outward: each solid (triangles joined by corners) encloses a positive volume.
        std::map<std::array<float, 6>, int> edges;
        std::map<std::array<float, 3>, int> cornerOwner;
        std::vector<int> parent;
        std::vector<double> volumes(faces, 0.0);
        auto root = [&](int t) { while (parent[t] != t) t = parent[t] = parent[parent[t]]; return t; };
        float lo[3] = {1e9, 1e9, 1e9}, hi[3] = {-1e9, -1e9, -1e9}, boxLo[3] = {-5, -5, -5}, boxHi[3] = {5, 5, 5};
        for (int t = 0; t < faces; t++) {
            const float* p = corners.data() + 9 * t;
            parent.push_back(t);
            for (int k = 0; k < 3; k++) {
                const float *u = p + 3 * k, *w = p + 3 * ((k + 1) % 3);
                edges[{u[0], u[1], u[2], w[0], w[1], w[2]}]++;
                parent[root(t)] = root(cornerOwner.emplace(std::array<float, 3>{u[0], u[1], u[2]}, t).first->second);
                for (int a = 0; a < 3; a++) { lo[a] = std::min(lo[a], u[a]); hi[a] = std::max(hi[a], u[a]); }
            }
            const double a[9] = {p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8]};
            volumes[t] = (a[0] * (a[4] * a[8] - a[5] * a[7]) + a[1] * (a[5] * a[6] - a[3] * a[8]) +
                          a[2] * (a[3] * a[7] - a[4] * a[6])) / 6;
        }
        int unmatched = 0, inverted = 0;
        for (const auto& e : edges) {
            auto reverse = edges.find({e.first[3], e.first[4], e.first[5], e.first[0], e.first[1], e.first[2]});
            unmatched += reverse == edges.end() || reverse->second != e.second;
        }
        std::map<int, double> solids;
        for (int t = 0; t < faces; t++) solids[root(t)] += volumes[t];
        for (const auto& solid : solids) inverted += solid.second <= 1e-6;
        EXPECT_EQ(unmatched, 0) << "edges without their reverse";
        EXPECT_EQ(inverted, 0) << "solids facing inward";
        int reach = -1;
        for (const auto& b : boxes)
            if (b.model == m) std::copy(b.lo, b.lo + 3, boxLo), std::copy(b.hi, b.hi + 3, boxHi), reach = b.reach;
        for (int a = 0; a < 3; a++) {
            EXPECT_GE(lo[a], boxLo[a]) << "axis " << a;
            EXPECT_LE(hi[a], boxHi[a]) << "axis " << a;
            if (reach == a || reach == 3) {
                EXPECT_EQ(lo[a], boxLo[a]) << "axis " << a;
                EXPECT_EQ(hi[a], boxHi[a]) << "axis " << a;
            }
        }
    }
}

TEST(MediaAssets, ImagesLoadAtTheirSizesAndTheGeneratorReproducesEveryFile)
{
    const struct { const char* path; int w, h, bytesPerPixel; } images[] = {{"Media/worldtexture.png", 256, 256, 3}, {"Media/dashboard.png", 1024, 256, 4}};
    for (const auto& i : images) {
        SDL_Surface* image = IMG_Load(i.path);
        ASSERT_NE(image, nullptr) << i.path;
        EXPECT_EQ((Ints{image->w, image->h, image->format->BytesPerPixel}), (Ints{i.w, i.h, i.bytesPerPixel})) << i.path;
        SDL_FreeSurface(image);
    }
    // Every glyph's visible pixels lie in columns 5..14 of its 20 x 20 cell; printable ones are white over a dark outline.
    SDL_Surface* atlas = IMG_Load("Media/dashboard.png");
    ASSERT_NE(atlas, nullptr);
    ASSERT_EQ(atlas->format->Rmask, 0xFFu);
    for (int g = 0; g < 95; g++) {
        int outside = 0, ink = 0, outline = 0;  // ink: the brightest opaque red
        for (int y = 0; y < 20; y++)
            for (int x = 0; x < 20; x++) {
                const Uint8* p = (const Uint8*)atlas->pixels + (20 * (g / 32) + y) * atlas->pitch + 4 * (20 * (g % 32) + x);
                outside += p[3] > 0 && (x < 5 || x > 14);
                if (p[3] > 150) ink = std::max(ink, (int)p[0]);
                outline += p[0] < 40 && p[3] > 120;
            }
        EXPECT_EQ(outside, 0) << "glyph " << g;
        if (g == 0) continue;
        EXPECT_GT(ink, 180) << "glyph " << g;
        EXPECT_GT(outline, 0) << "glyph " << g;
    }
    SDL_FreeSurface(atlas);
    std::string binary = CAIRNFOLD_BINARY;
    std::string generator = binary.substr(0, binary.rfind('/')) + "/tools/make_assets";
    ASSERT_TRUE(FileExists(generator)) << generator;
    std::string dir = MakeTempDir();
    ASSERT_EQ(RunShell(dir, generator + " " + dir, 120), 0);
    std::vector<std::string> files = {images[0].path, images[1].path};
    for (int m = 0; m < TILE_TYPE_COUNT + ENTITY_KIND_COUNT; m++) files.push_back(ModelPath(m));
    for (const std::string& file : files) {
        std::vector<unsigned char> committed = ReadFileBytes(file);
        EXPECT_FALSE(committed.empty()) << file;
        EXPECT_TRUE(ReadFileBytes(dir + "/" + file) == committed) << file << " differs from the generator's output";
    }
}
