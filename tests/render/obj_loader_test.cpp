#include "render/obj_loader.h"
#include "support/test_support.h"


// Three entries of each list for the faces below to name.
static const std::string TRIANGLE_DATA =
    "v 1 2 3\nv 4 5 6\nv 7 8 9\nvt 0.1 0.2\nvt 0.3 0.4\nvt 0.5 0.6\nvn 1 0 0\nvn 0 1 0\nvn 0 0 1\n";

// A text, its positions and (when given) texture coordinates and normals. The cases run in order
// through the shared scratch tables, so each also checks that earlier files leave no trace.
struct LoadCase {
    const char* what;
    std::string text;
    float scale;
    Floats positions, texCoords = {}, normals = {};
};

static void RunCases(const std::vector<LoadCase>& cases)
{
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::istringstream in(c.text);
        Mesh mesh = ReadObjMesh(in, c.scale);
        int n = mesh.vertexCount;
        EXPECT_EQ(Floats(mesh.positions, mesh.positions + 3 * n), c.positions);
        if (!c.texCoords.empty()) {
            EXPECT_EQ(Floats(mesh.texCoords, mesh.texCoords + 2 * n), c.texCoords);
            EXPECT_EQ(Floats(mesh.normals, mesh.normals + 3 * n), c.normals);
        }
        FreeMesh(mesh);
    }
}

TEST(ObjLoader, ReadsWordByWordAndExpandsFacesAfterTheWholeFile)
{
    const Floats first3 = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    RunCases({
        {"faces in file order, corners in written order", TRIANGLE_DATA + "f 1/1/1 2/2/2 3/3/3\nf 3/2/3 1/3/1 2/1/2\n",
         1.0f, {1, 2, 3, 4, 5, 6, 7, 8, 9, 7, 8, 9, 1, 2, 3, 4, 5, 6},
         {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.3f, 0.4f, 0.5f, 0.6f, 0.1f, 0.2f},
         {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 0, 1, 0}},
        {"a second, smaller file does not see the first's entries",
         "v 20 21 22\nvt 0 0\nvn 0 1 0\nf 1/1/1 1/1/1 1/1/1\nf 1/1/1 2/1/1 3/1/1\n", 1.0f,
         {20, 21, 22, 20, 21, 22, 20, 21, 22}},
        {"no face statement", TRIANGLE_DATA, 1.0f, {}},
        {"comment words are keywords; other statements are skipped",
         "# v 1 2 3\no thing\ng part\ns off\nusemtl stone\n# plain words\nv 4 5 6\nv 7 8 9\nvt 0 0\nvn 0 1 0\n"
         "f 1/1/1 2/1/1 3/1/1\n", 1.0f, first3},
        {"four corners give the first three; the face precedes its entries",
         "f 1/1/1 2/2/2 3/3/3 4/4/4\n" + TRIANGLE_DATA + "v 10 11 12\nvt 0 0\nvn 0 0 0\n", 1.0f, first3},
        {"scale 2 doubles positions only", TRIANGLE_DATA + "f 1/1/1 2/2/2 3/3/3\n", 2.0f,
         {2, 4, 6, 8, 10, 12, 14, 16, 18}, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f}, {1, 0, 0, 0, 1, 0, 0, 0, 1}},
        {"a malformed number ends the read, keeping what came before",
         TRIANGLE_DATA + "f 1/1/1 2/2/2 3/3/3\nv 1 x 3\nf 3/3/3 2/2/2 1/1/1\n", 1.0f, first3},
        {"the entry being filled counts as written", TRIANGLE_DATA + "f 4/1/1 1/1/1 2/1/1\nv 5 x 3\n", 1.0f,
         {5, 0, 0, 1, 2, 3, 4, 5, 6}},
        {"a vertex ending at end of file", "f 1/1/1 2/1/1 3/1/1\nvt 0 0\nvn 0 1 0\nv 1 2 3\nv 4 5 6\nv 7 8 9", 1.0f,
         first3},
        {"a face ending at end of file", TRIANGLE_DATA + "f 1/1/1 2/2/2 3/3/3", 1.0f, first3},
    });
    Mesh missing = LoadObjMesh((MakeTempDir() + "/absent.obj").c_str(), 1.0f);
    EXPECT_EQ(missing.vertexCount, 0);
    EXPECT_EQ((std::vector<bool>{!missing.positions, !missing.texCoords, !missing.normals}), (std::vector<bool>{false, false, false})) << "arrays";
    FreeMesh(missing);
}

TEST(ObjLoader, InputOutsideTheTablesIsDroppedOrCut)
{
    std::string manyVertices;
    for (int i = 1; i <= OBJ_LIST_CAPACITY + 1; i++) manyVertices += "v " + std::to_string(i) + " 0 0\n";
    RunCases({
        {"indexes 0, negative or past the file's entries drop the face",
         TRIANGLE_DATA + "f 0/1/1 2/2/2 3/3/3\nf 1/1/1 -1/2/2 3/3/3\nf 1/1/1 2/2/2 4/3/3\nf 2/2/2 3/3/3 1/1/1\n"
                         "f 1/4/1 2/2/2 3/3/3\nf 1/1/1 2/2/2 3/3/-2147483648\n"
                         "f 1/1/1 2/2/2 99999999999999999999/3/3\n",
         1.0f, {4, 5, 6, 7, 8, 9, 1, 2, 3}},
        {"corners of fewer than three fields drop the face",
         TRIANGLE_DATA + "f 1//1 2/2/2 3/3/3\nf 1/1 2/2/2 3/3/3\nf 1/1/1 2 3/3/3\nf 1/1/1 2/2/2 ///\n"
                         "f 3//3//3 2/2/2 1/1/1\nf 1/1/1 2/2/2",
         1.0f, {7, 8, 9, 4, 5, 6, 1, 2, 3}},
        {"a long word is cut and its tail is no keyword",
         "v 1 2 3\nvt 0 0\nvn 0 1 0\n" + std::string(OBJ_WORD_CAPACITY - 1, 'x') +
             "v 7 8 9\nf 1/1/1 1/1/1 1/1/1\nf 2/1/1 1/1/1 1/1/1\n",
         1.0f, {1, 2, 3, 1, 2, 3, 1, 2, 3}},
        {"a long corner word is read as its cut start",
         TRIANGLE_DATA + "f 1/1/1" + std::string(OBJ_WORD_CAPACITY, '0') + " 2/2/2 3/3/3\n", 1.0f, {}},
        {"the position list takes 10,000 entries",
         manyVertices + "vt 0 0\nvn 0 1 0\nf 10000/1/1 1/1/1 2/1/1\nf 10001/1/1 1/1/1 2/1/1\n", 1.0f,
         {10000, 0, 0, 1, 0, 0, 2, 0, 0}},
    });
    std::string manyFaces = TRIANGLE_DATA;
    for (int i = 0; i < OBJ_LIST_CAPACITY + 5; i++) manyFaces += "f 1/1/1 2/2/2 3/3/3\n";
    std::istringstream in(manyFaces);
    Mesh many = ReadObjMesh(in, 1.0f);
    EXPECT_EQ(many.vertexCount, 3 * OBJ_LIST_CAPACITY);
    FreeMesh(many);
}

static Floats Xyz(Vec3 v) { return {v.x, v.y, v.z}; }

TEST(ObjLoader, NormalsAndCollisionMeshesAreUnitOrZeroNeverNaN)
{
    for (Vec3 v : {Vec3{3, 0, 4}, {0, 0, 0}, {INFINITY, 1, 0}})
        EXPECT_EQ(Xyz(NormalizeVector(v)), (v.x == 3 ? Floats{0.6f, 0, 0.8f} : Floats{0, 0, 0})) << v.x;
    // The squashed triangle, then one of zero area; 7 vertices make two whole triangles.
    const float positions[] = {0, 0, 0, 0, 9, 0, 9, 0, 0, 1, 1, 1, 1, 1, 1, 3, 3, 3};
    CollisionMesh* mesh = BuildCollisionMesh(7, positions);
    ASSERT_EQ(mesh->triangleCount, 2);
    const float one = 1.0f * 1.25f / 2.25f, three = 3.0f * 1.25f / 2.25f;
    EXPECT_EQ(Floats(mesh->cornerA, mesh->cornerA + 6), (Floats{0, 0, 0, 1, one, 1}));
    EXPECT_EQ(Floats(mesh->cornerB, mesh->cornerB + 6), (Floats{0, 5, 0, 1, one, 1}));
    EXPECT_EQ(Floats(mesh->cornerC, mesh->cornerC + 6), (Floats{9, 0, 0, 3, three, 3}));
    EXPECT_EQ(Floats(mesh->faceNormal, mesh->faceNormal + 6), (Floats{0, 0, 1, 0, 0, 0}));
    // The box of the corners and the longest edge, which collision passes by; a triangle with a
    // corner that is not a number is in neither.
    EXPECT_EQ(Xyz(mesh->low), (Floats{0, 0, 0}));
    EXPECT_EQ(Xyz(mesh->high), (Floats{9, 5, 3}));
    EXPECT_FLOAT_EQ(mesh->longestEdge, std::sqrt(106.0f));
    FreeCollisionMesh(mesh);
    const float notANumber[] = {NAN, 0, 0, 0, 0, 0, 1, 0, 0};
    mesh = BuildCollisionMesh(3, notANumber);
    EXPECT_EQ(Xyz(mesh->low), (Floats{INFINITY, INFINITY, INFINITY})) << mesh->longestEdge;
    FreeCollisionMesh(mesh);
}
