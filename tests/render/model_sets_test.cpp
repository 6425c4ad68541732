#include "render/model_sets.h"
#include "support/test_support.h"


static Floats Take(const float* array, int floats) { return Floats(array, array + floats); }

TEST(ModelSets, ModelsArePreTurnedWithPatternFaceNormalsAndCollisionAndMissingOnesAreEmpty)
{
    // Only tile 8 and entities 1, 2 exist: tile 8 and entity 2 a flat triangle, entity 1 one counter-clockwise
    // from +z. Their texture coordinates and normals must be replaced.
    EnterTempDir({"Media", "Media/worldtiles", "Media/entities"});
    const char* flat = "v 1 0 0\nv 0 0 0\nv 0 0 1\nvt 0.25 0.75\nvn 0.5 0.5 0.5\nf 1/1/1 2/1/1 3/1/1\n";
    WriteFileText("Media/worldtiles/worldtile8.obj", flat);
    WriteFileText("Media/entities/entity2.obj", flat);
    WriteFileText("Media/entities/entity1.obj", "v 0 0 0\nv 2 0 0\nv 0 9 0\nvt 0.5 0.5\nvn 1 1 1\nf 1/1/1 2/1/1 3/1/1\n");
    LoadTileModels();
    LoadEntityModels();
    // Quarter turns about +y (+x to -z, -x, +z) with the 32-bit cos 90, sin 180, cos 270, not exactly 0.
    const float cos90 = -4.37113883e-08f, sin180 = -8.74227766e-08f, cos270 = 1.19248806e-08f;
    const TileModel& tile = tileModels[8];
    ASSERT_EQ(tile.vertexCount, 3);
    EXPECT_EQ(Take(tile.positions[0], 9), (Floats{1, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Take(tile.positions[1], 9), (Floats{cos90, 0, -1, 0, 0, 0, 1, 0, cos90}));
    EXPECT_EQ(Take(tile.positions[2], 9), (Floats{-1, 0, -sin180, 0, 0, 0, sin180, 0, -1}));
    EXPECT_EQ(Take(tile.positions[3], 9), (Floats{cos270, 0, 1, 0, 0, 0, -1, 0, cos270}));
    EXPECT_EQ(Take(tile.texCoords, 6), (Floats{0, 1, 1, 1, 0, 0}));
    for (int r = 0; r < ORIENTATION_COUNT; r++) {
        // The negated TriangleNormal at every corner; collision keeps the turned corners and the normal unnegated.
        EXPECT_EQ(Take(tile.normals[r], 9), (Floats{0, 1, 0, 0, 1, 0, 0, 1, 0})) << r;
        ASSERT_EQ(tile.collision[r]->triangleCount, 1);
        EXPECT_EQ(Take(tile.collision[r]->cornerA, 3), Take(tile.positions[r], 3)) << r;
        EXPECT_EQ(Take(tile.collision[r]->cornerC, 3), Take(tile.positions[r] + 6, 3)) << r;
        EXPECT_EQ(Take(tile.collision[r]->faceNormal, 3), (Floats{0, -1, 0})) << r;
    }
    for (int m = 0; m < TILE_TYPE_COUNT; m++)
        for (int r = 0; m != 8 && r < ORIENTATION_COUNT; r++)
            EXPECT_EQ((Ints{tileModels[m].vertexCount, !tileModels[m].positions[r], !tileModels[m].normals[r],
                            tileModels[m].collision[r]->triangleCount}), (Ints{0, 0, 0, 0})) << "tile " << m;
    EXPECT_EQ(entityModels[0].vertexCount, 0);
    EXPECT_EQ(entityModels[0].collision->triangleCount, 0);
    const EntityModel& lift = entityModels[1];
    ASSERT_EQ(lift.vertexCount, 3);
    EXPECT_EQ(Take(lift.positions, 9), (Floats{0, 0, 0, 2, 0, 0, 0, 9, 0}));
    EXPECT_EQ(Take(lift.normals, 9), (Floats{0, 0, 1, 0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(Take(lift.texCoords, 6), (Floats{0, 1, 1, 1, 0, 0}));
    ASSERT_EQ(lift.collision->triangleCount, 1);
    EXPECT_EQ(Take(lift.collision->cornerC, 3), (Floats{0, 5, 0}));
    EXPECT_EQ(Take(lift.collision->faceNormal, 3), (Floats{0, 0, -1}));
    EXPECT_EQ(Take(entityModels[2].normals, 3), (Floats{0, 1, 0}));
}
