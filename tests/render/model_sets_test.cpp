#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "render/model_sets.h"
#include "support/test_support.h"

// cos 90, sin 180 and cos 270 degrees of the 32-bit angles, rounded to 32 bits.
static const float COS_90 = -4.37113883e-08f;
static const float SIN_180 = -8.74227766e-08f;
static const float COS_270 = 1.19248806e-08f;

// Makes a temporary working folder with empty Media/worldtiles and Media/entities.
static void EnterMediaFolder()
{
    std::string dir = MakeTempDir();
    ASSERT_EQ(mkdir((dir + "/Media").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((dir + "/Media/worldtiles").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((dir + "/Media/entities").c_str(), 0755), 0);
    ASSERT_EQ(chdir(dir.c_str()), 0);
}

static void ExpectVertex(const float* array, int vertex, float x, float y, float z)
{
    EXPECT_EQ(array[3 * vertex], x) << "vertex " << vertex;
    EXPECT_EQ(array[3 * vertex + 1], y) << "vertex " << vertex;
    EXPECT_EQ(array[3 * vertex + 2], z) << "vertex " << vertex;
}

// The triangle (1, 0, 0), (0, 0, 0), (0, 0, 1) with texture coordinates and
// normals that loading must replace.
static const char* FLAT_TRIANGLE =
    "v 1 0 0\nv 0 0 0\nv 0 0 1\nvt 0.25 0.75\nvn 0.5 0.5 0.5\n"
    "f 1/1/1 2/1/1 3/1/1\n";

TEST(ModelSets, TileModelsArePreTurnedInFourOrientations)
{
    EnterMediaFolder();
    WriteFileText("Media/worldtiles/worldtile8.obj", FLAT_TRIANGLE);
    LoadTileModels();

    const TileModel& model = tileModels[8];
    ASSERT_EQ(model.vertexCount, 3);
    ExpectVertex(model.positions[0], 0, 1, 0, 0);
    ExpectVertex(model.positions[0], 2, 0, 0, 1);
    // Quarter turns about +y: +x goes to -z, then -x, then +z.
    ExpectVertex(model.positions[1], 0, COS_90, 0, -1);
    ExpectVertex(model.positions[1], 1, 0, 0, 0);
    ExpectVertex(model.positions[1], 2, 1, 0, COS_90);
    ExpectVertex(model.positions[2], 0, -1, 0, -SIN_180);
    ExpectVertex(model.positions[2], 1, 0, 0, 0);
    ExpectVertex(model.positions[2], 2, SIN_180, 0, -1);
    ExpectVertex(model.positions[3], 0, COS_270, 0, 1);
    ExpectVertex(model.positions[3], 1, 0, 0, 0);
    ExpectVertex(model.positions[3], 2, -1, 0, COS_270);

    // Flat face normals at every corner, in every orientation.
    for (int r = 0; r < ORIENTATION_COUNT; r++)
        for (int k = 0; k < 3; k++)
            ExpectVertex(model.normals[r], k, 0, 1, 0);

    const float pattern[6] = {0, 1, 1, 1, 0, 0};
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(model.texCoords[i], pattern[i]);

    // One collision mesh per orientation, built from that orientation's corners.
    for (int r = 0; r < ORIENTATION_COUNT; r++)
        ASSERT_EQ(model.collision[r]->triangleCount, 1);
    ExpectVertex(model.collision[1]->cornerA, 0, COS_90, 0, -1);
    ExpectVertex(model.collision[3]->cornerC, 0, -1, 0, COS_270);
    ExpectVertex(model.collision[2]->faceNormal, 0, 0, -1, 0);
}

TEST(ModelSets, MissingTileFilesGiveEmptyModelsAndLoadingGoesOn)
{
    EnterMediaFolder();
    // A square of two triangles for every code but 7.
    for (int m = 0; m < TILE_TYPE_COUNT; m++)
        if (m != 7)
            WriteFileText("Media/worldtiles/worldtile" + std::to_string(m) + ".obj",
                          "v 0 0 0\nv 1 0 0\nv 1 0 1\nv 0 0 1\nvt 0 0\nvn 0 1 0\n"
                          "f 1/1/1 3/1/1 2/1/1\nf 1/1/1 4/1/1 3/1/1\n");
    LoadTileModels();
    for (int m = 0; m < TILE_TYPE_COUNT; m++) {
        int expected = m == 7 ? 0 : 6;
        EXPECT_EQ(tileModels[m].vertexCount, expected) << "tile " << m;
        for (int r = 0; r < ORIENTATION_COUNT; r++) {
            ASSERT_NE(tileModels[m].positions[r], nullptr);
            ASSERT_NE(tileModels[m].normals[r], nullptr);
            EXPECT_EQ(tileModels[m].collision[r]->triangleCount, expected / 3) << "tile " << m;
        }
    }
    // Corners 1, 3, 2 run counter-clockwise seen from above: the normal points up.
    ExpectVertex(tileModels[0].normals[0], 0, 0, 1, 0);
    ExpectVertex(tileModels[45].normals[3], 5, 0, 1, 0);
}

TEST(ModelSets, EntityModelsGetThePatternFaceNormalsAndACollisionMesh)
{
    EnterMediaFolder();
    // Counter-clockwise seen from +z.
    WriteFileText("Media/entities/entity1.obj",
                  "v 0 0 0\nv 2 0 0\nv 0 9 0\nvt 0.5 0.5\nvn 1 1 1\nf 1/1/1 2/1/1 3/1/1\n");
    WriteFileText("Media/entities/entity2.obj", FLAT_TRIANGLE);
    LoadEntityModels();

    EXPECT_EQ(entityModels[0].vertexCount, 0);
    EXPECT_EQ(entityModels[0].collision->triangleCount, 0);

    const EntityModel& lift = entityModels[1];
    ASSERT_EQ(lift.vertexCount, 3);
    ExpectVertex(lift.positions, 2, 0, 9, 0);
    for (int k = 0; k < 3; k++)
        ExpectVertex(lift.normals, k, 0, 0, 1);
    const float pattern[6] = {0, 1, 1, 1, 0, 0};
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(lift.texCoords[i], pattern[i]);
    ASSERT_EQ(lift.collision->triangleCount, 1);
    ExpectVertex(lift.collision->cornerC, 0, 0, 5, 0);
    ExpectVertex(lift.collision->faceNormal, 0, 0, 0, -1);

    ExpectVertex(entityModels[2].normals, 1, 0, 1, 0);
}
