#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "render/obj_loader.h"
#include "support/test_support.h"

// Writes `text` to a file in a fresh temporary folder and loads it.
static Mesh LoadText(const std::string& text, float scale = 1.0f)
{
    std::string path = MakeTempDir() + "/model.obj";
    WriteFileText(path, text);
    return LoadObjMesh(path.c_str(), scale);
}

static void ExpectPosition(const Mesh& mesh, int vertex, float x, float y, float z)
{
    EXPECT_EQ(mesh.positions[3 * vertex], x) << "vertex " << vertex;
    EXPECT_EQ(mesh.positions[3 * vertex + 1], y) << "vertex " << vertex;
    EXPECT_EQ(mesh.positions[3 * vertex + 2], z) << "vertex " << vertex;
}

// Three vertices, texture coordinates and normals that the faces below refer to.
static const char* TRIANGLE_DATA =
    "v 1 2 3\nv 4 5 6\nv 7 8 9\n"
    "vt 0.1 0.2\nvt 0.3 0.4\nvt 0.5 0.6\n"
    "vn 1 0 0\nvn 0 1 0\nvn 0 0 1\n";

TEST(ObjLoader, ExpandsFacesInFileOrderWithCornerOrderKept)
{
    Mesh mesh = LoadText(std::string(TRIANGLE_DATA) + "f 1/1/1 2/2/2 3/3/3\nf 3/2/1 1/3/2 2/1/3\n");
    ASSERT_EQ(mesh.vertexCount, 6);
    ExpectPosition(mesh, 0, 1, 2, 3);
    ExpectPosition(mesh, 2, 7, 8, 9);
    ExpectPosition(mesh, 3, 7, 8, 9);
    ExpectPosition(mesh, 4, 1, 2, 3);
    ExpectPosition(mesh, 5, 4, 5, 6);
    // Second face, corner 0 names texture coordinate 2 and normal 1.
    EXPECT_EQ(mesh.texCoords[6], 0.3f);
    EXPECT_EQ(mesh.texCoords[7], 0.4f);
    EXPECT_EQ(mesh.normals[9], 1.0f);
    EXPECT_EQ(mesh.normals[10], 0.0f);
    // Second face, corner 2 names normal 3.
    EXPECT_EQ(mesh.normals[17], 1.0f);

    Mesh noFaces = LoadText(TRIANGLE_DATA);
    EXPECT_EQ(noFaces.vertexCount, 0);
}

TEST(ObjLoader, ReadsWordByWordSoKeywordsInsideCommentsCount)
{
    // The comment adds vertex (1, 2, 3); group, object, smoothing and material
    // statements and the other comment words are skipped.
    Mesh mesh = LoadText(
        "# v 1 2 3\n"
        "o thing\ng part\ns off\nusemtl stone\nmtllib x.mtl\n# a plain comment\n"
        "v 4 5 6\nv 7 8 9\nvt 0 0\nvn 0 1 0\n"
        "f 1/1/1 2/1/1 3/1/1\n");
    ASSERT_EQ(mesh.vertexCount, 3);
    ExpectPosition(mesh, 0, 1, 2, 3);
    ExpectPosition(mesh, 1, 4, 5, 6);
    ExpectPosition(mesh, 2, 7, 8, 9);
}

TEST(ObjLoader, TakesTheFirstThreeCornersAndFacesBeforeTheirVertices)
{
    // A four-corner face gives the triangle of its first three corners; the
    // fourth corner word is skipped. The face comes before everything it names.
    Mesh mesh = LoadText(std::string("f 1/1/1 2/2/2 3/3/3 4/4/4\n") + TRIANGLE_DATA + "v 10 11 12\nvt 0 0\nvn 0 0 0\n");
    ASSERT_EQ(mesh.vertexCount, 3);
    ExpectPosition(mesh, 0, 1, 2, 3);
    ExpectPosition(mesh, 1, 4, 5, 6);
    ExpectPosition(mesh, 2, 7, 8, 9);
    EXPECT_EQ(mesh.texCoords[4], 0.5f);
    EXPECT_EQ(mesh.normals[8], 1.0f);
}

TEST(ObjLoader, ScaleAppliesToPositionsOnly)
{
    Mesh mesh = LoadText(std::string(TRIANGLE_DATA) + "f 1/1/1 2/2/2 3/3/3\n", 2.0f);
    ASSERT_EQ(mesh.vertexCount, 3);
    ExpectPosition(mesh, 0, 2, 4, 6);
    ExpectPosition(mesh, 2, 14, 16, 18);
    EXPECT_EQ(mesh.texCoords[0], 0.1f);
    EXPECT_EQ(mesh.texCoords[5], 0.6f);
    EXPECT_EQ(mesh.normals[0], 1.0f);
    EXPECT_EQ(mesh.normals[8], 1.0f);
}

TEST(ObjLoader, MalformedNumberEndsTheReadAndEndOfFileCompletesAStatement)
{
    // Reading stops at "x": the face after it is never read, the one before is kept.
    Mesh stopped = LoadText(std::string(TRIANGLE_DATA) + "f 1/1/1 2/2/2 3/3/3\nv 1 x 3\nf 3/3/3 2/2/2 1/1/1\n");
    ASSERT_EQ(stopped.vertexCount, 3);
    ExpectPosition(stopped, 0, 1, 2, 3);

    // The entry being filled when the number failed still counts as written:
    // a face read before it may name it. Its unread parts are 0.
    Mesh partial = LoadText(std::string(TRIANGLE_DATA) + "f 4/1/1 1/1/1 2/1/1\nv 5 x 3\n");
    ASSERT_EQ(partial.vertexCount, 3);
    ExpectPosition(partial, 0, 5, 0, 0);

    // No final newline: the last number ends at the end of the file.
    Mesh unterminated = LoadText("f 1/1/1 2/1/1 3/1/1\nvt 0 0\nvn 0 1 0\nv 1 2 3\nv 4 5 6\nv 7 8 9");
    ASSERT_EQ(unterminated.vertexCount, 3);
    ExpectPosition(unterminated, 2, 7, 8, 9);
    Mesh faceLast = LoadText(std::string(TRIANGLE_DATA) + "f 1/1/1 2/2/2 3/3/3");
    EXPECT_EQ(faceLast.vertexCount, 3);
}

TEST(ObjLoader, MissingFileGivesAnEmptyMeshWithAllocatedArrays)
{
    Mesh mesh = LoadObjMesh((MakeTempDir() + "/absent.obj").c_str(), 1.0f);
    EXPECT_EQ(mesh.vertexCount, 0);
    EXPECT_NE(mesh.positions, nullptr);
    EXPECT_NE(mesh.texCoords, nullptr);
    EXPECT_NE(mesh.normals, nullptr);
}

TEST(ObjLoader, FacesNamingEntriesTheFileLacksAreDropped)
{
    // Index 0, negative indexes and indexes past the file's entries are
    // dropped in every field; the good face between them is kept.
    Mesh mesh = LoadText(std::string(TRIANGLE_DATA) +
                         "f 0/1/1 2/2/2 3/3/3\n"
                         "f 1/1/1 -1/2/2 3/3/3\n"
                         "f 1/1/1 2/2/2 4/3/3\n"
                         "f 2/2/2 3/3/3 1/1/1\n"
                         "f 1/4/1 2/2/2 3/3/3\n"
                         "f 1/1/1 2/2/2 3/3/-2147483648\n"
                         "f 1/1/1 2/2/2 99999999999999999999/3/3\n");
    ASSERT_EQ(mesh.vertexCount, 3);
    ExpectPosition(mesh, 0, 4, 5, 6);

    // A second, smaller file does not reach the entries the first one left
    // in the shared tables.
    Mesh second = LoadText("v 20 21 22\nvt 0 0\nvn 0 1 0\nf 1/1/1 1/1/1 1/1/1\nf 1/1/1 2/1/1 3/1/1\n");
    ASSERT_EQ(second.vertexCount, 3);
    ExpectPosition(second, 0, 20, 21, 22);
}

TEST(ObjLoader, CornersWithFewerThanThreeFieldsAreDropped)
{
    // Runs of '/' count as one separator, so "1//1" has two fields.
    Mesh mesh = LoadText(std::string(TRIANGLE_DATA) +
                         "f 1//1 2/2/2 3/3/3\n"
                         "f 1/1 2/2/2 3/3/3\n"
                         "f 1/1/1 2 3/3/3\n"
                         "f 1/1/1 2/2/2 ///\n"
                         "f 3//3//3 2/2/2 1/1/1\n"
                         "f 1/1/1 2/2/2");
    ASSERT_EQ(mesh.vertexCount, 3);
    ExpectPosition(mesh, 0, 7, 8, 9);
    EXPECT_EQ(mesh.normals[2], 1.0f);
}

TEST(ObjLoader, ListsAndFacesStopAtTenThousandEntries)
{
    std::ostringstream text;
    for (int i = 1; i <= OBJ_LIST_CAPACITY + 1; i++)
        text << "v " << i << " 0 0\n";
    text << "vt 0 0\nvn 0 1 0\n";
    // The last vertex taken and the first one past the capacity.
    text << "f 10000/1/1 1/1/1 2/1/1\n";
    text << "f 10001/1/1 1/1/1 2/1/1\n";
    Mesh vertices = LoadText(text.str());
    ASSERT_EQ(vertices.vertexCount, 3);
    ExpectPosition(vertices, 0, 10000, 0, 0);

    std::ostringstream faces;
    faces << TRIANGLE_DATA;
    for (int i = 0; i < OBJ_LIST_CAPACITY + 5; i++)
        faces << "f 1/1/1 2/2/2 3/3/3\n";
    EXPECT_EQ(LoadText(faces.str()).vertexCount, 3 * OBJ_LIST_CAPACITY);
}

TEST(ObjLoader, OverlongWordsAreCutAndTheirRestSkipped)
{
    // The long word's tail, "v", must not start a statement: only the first
    // vertex exists, so the face naming vertex 2 is dropped.
    std::string longWord(OBJ_WORD_CAPACITY + 200, 'x');
    Mesh mesh = LoadText(std::string("v 1 2 3\nvt 0 0\nvn 0 1 0\n") + longWord + "v 7 8 9\n" +
                         "f 1/1/1 1/1/1 1/1/1\nf 2/1/1 1/1/1 1/1/1\n");
    ASSERT_EQ(mesh.vertexCount, 3);
    ExpectPosition(mesh, 0, 1, 2, 3);

    // A corner word longer than the buffer is read as its cut start.
    std::string longCorner = "1/1/1" + std::string(OBJ_WORD_CAPACITY, '0');
    EXPECT_EQ(LoadText(std::string(TRIANGLE_DATA) + "f " + longCorner + " 2/2/2 3/3/3\n").vertexCount, 0);
}

TEST(ObjLoader, VectorHelpersNeverGiveNaN)
{
    Vec3 unit = NormalizeVector(Vec3{3, 0, 4});
    EXPECT_EQ(unit.x, 0.6f);
    EXPECT_EQ(unit.y, 0.0f);
    EXPECT_EQ(unit.z, 0.8f);

    Vec3 zero = NormalizeVector(Vec3{0, 0, 0});
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);

    // Squares that overflow or vanish still give a unit vector.
    Vec3 huge = NormalizeVector(Vec3{3e30f, 0, 4e30f});
    EXPECT_FLOAT_EQ(huge.x, 0.6f);
    EXPECT_FLOAT_EQ(huge.z, 0.8f);
    Vec3 tiny = NormalizeVector(Vec3{0, -1e-30f, 0});
    EXPECT_EQ(tiny.y, -1.0f);

    Vec3 infinite = NormalizeVector(Vec3{INFINITY, 1, 0});
    EXPECT_EQ(infinite.x, 0.0f);
    EXPECT_EQ(infinite.y, 0.0f);

    // Corners a, b, c counter-clockwise seen from +z: the normal points to -z.
    Vec3 n = TriangleNormal(Vec3{0, 0, 0}, Vec3{1, 0, 0}, Vec3{0, 1, 0});
    EXPECT_EQ(n.x, 0.0f);
    EXPECT_EQ(n.y, 0.0f);
    EXPECT_EQ(n.z, -1.0f);

    Vec3 flat = TriangleNormal(Vec3{1, 2, 3}, Vec3{2, 4, 6}, Vec3{3, 6, 9});
    EXPECT_EQ(flat.x, 0.0f);
    EXPECT_EQ(flat.y, 0.0f);
    EXPECT_EQ(flat.z, 0.0f);
}

TEST(ObjLoader, CollisionMeshSquashesHeightAndStoresUnitNormals)
{
    const float positions[] = {
        0, 0, 0, 0, 9, 0, 9, 0, 0,  // the squashed triangle
        1, 1, 1, 1, 1, 1, 3, 3, 3,  // zero area: two corners coincide
    };
    CollisionMesh* mesh = BuildCollisionMesh(7, positions);  // 7 vertices: two whole triangles
    ASSERT_EQ(mesh->triangleCount, 2);
    EXPECT_EQ(mesh->cornerA[0], 0.0f);
    EXPECT_EQ(mesh->cornerB[0], 0.0f);
    EXPECT_EQ(mesh->cornerB[1], 5.0f);
    EXPECT_EQ(mesh->cornerB[2], 0.0f);
    EXPECT_EQ(mesh->cornerC[0], 9.0f);
    EXPECT_EQ(mesh->cornerC[1], 0.0f);
    EXPECT_EQ(mesh->faceNormal[0], 0.0f);
    EXPECT_EQ(mesh->faceNormal[1], 0.0f);
    EXPECT_EQ(mesh->faceNormal[2], 1.0f);

    EXPECT_EQ(mesh->cornerA[4], 1.0f * 1.25f / 2.25f);
    EXPECT_EQ(mesh->cornerB[4], 1.0f * 1.25f / 2.25f);
    EXPECT_EQ(mesh->cornerC[4], 3.0f * 1.25f / 2.25f);
    for (int c = 3; c < 6; c++)
        EXPECT_EQ(mesh->faceNormal[c], 0.0f);

    CollisionMesh* empty = BuildCollisionMesh(0, positions);
    EXPECT_EQ(empty->triangleCount, 0);
    EXPECT_NE(empty->faceNormal, nullptr);
}
