#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <string>

#include "app/camera.h"
#include "app/display.h"
#include "app/game_loop.h"
#include "player/game_state.h"
#include "render/model_sets.h"
#include "render/world_renderer.h"
#include "support/test_support.h"
#include "world/world_grid.h"

// Tile 2 and entity 1: a 10 x 10 square on the cell's -x face, seen from -x.
static const char* NEAR_FACE =
    "v -5 -5 -5\nv -5 -5 5\nv -5 5 5\nv -5 5 -5\nvt 0 0\nvn 0 0 0\n"
    "f 1/1/1 2/1/1 3/1/1\nf 1/1/1 3/1/1 4/1/1\n";
// Tile 3: the same square 6 units beyond the cell centre on +x.
static const char* FAR_FACE =
    "v 6 -5 -5\nv 6 -5 5\nv 6 5 5\nv 6 5 -5\nvt 0 0\nvn 0 0 0\n"
    "f 1/1/1 2/1/1 3/1/1\nf 1/1/1 3/1/1 4/1/1\n";

static const int CENTRE_X = 400;
static const int CENTRE_Y = 300;

// Opens the window, loads the crafted models from a temporary Media folder
// and puts the player at (1250, 30, 1250) looking along +x.
static void SetUpScene()
{
    OpenTestDisplay(800, 600);
    std::string dir = MakeTempDir();
    ASSERT_EQ(mkdir((dir + "/Media").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((dir + "/Media/worldtiles").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((dir + "/Media/entities").c_str(), 0755), 0);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    WriteFileText("Media/worldtiles/worldtile2.obj", NEAR_FACE);
    WriteFileText("Media/worldtiles/worldtile3.obj", FAR_FACE);
    WriteFileText("Media/entities/entity1.obj", NEAR_FACE);
    LoadTileModels();
    LoadEntityModels();
    ResetGameState();
    gameState.eye = Vec3{1250.0f, 33.8f, 1250.0f};
    worldTexture = 0;
}

static void Render()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    RenderWorld();
}

static int CentreBrightness()
{
    unsigned char rgb[3];
    ReadPixel(CENTRE_X, CENTRE_Y, rgb);
    return rgb[0] + rgb[1] + rgb[2];
}

static void SetTile(int x, int y, int z, int type, int orientation)
{
    worldGrid[CellIndex(x, y, z)] = WorldCell{(uint8_t)type, (uint8_t)orientation};
}

// Triangles submitted by one RenderWorld call.
static GLuint CountTriangles()
{
    auto genQueries = (PFNGLGENQUERIESPROC)SDL_GL_GetProcAddress("glGenQueries");
    auto beginQuery = (PFNGLBEGINQUERYPROC)SDL_GL_GetProcAddress("glBeginQuery");
    auto endQuery = (PFNGLENDQUERYPROC)SDL_GL_GetProcAddress("glEndQuery");
    auto getResult = (PFNGLGETQUERYOBJECTUIVPROC)SDL_GL_GetProcAddress("glGetQueryObjectuiv");
    if (!genQueries || !beginQuery || !endQuery || !getResult) {
        ADD_FAILURE() << "no query objects";
        return 0;
    }
    GLuint query = 0;
    genQueries(1, &query);
    beginQuery(GL_PRIMITIVES_GENERATED, query);
    Render();
    endQuery(GL_PRIMITIVES_GENERATED);
    GLuint count = 0;
    getResult(query, GL_QUERY_RESULT, &count);
    return count;
}

TEST(WorldRenderer, LeavesTheLightFogAndTextureStateItSetUp)
{
    SetUpScene();
    gameState.viewDistance = 7;
    gameState.pitch = 0.3f;
    gameState.yaw = 0.7f;
    glGenTextures(1, &worldTexture);
    Render();

    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ((GLuint)bound, worldTexture);

    // The light was placed after the camera: at the eye, so at the origin of eye space.
    GLfloat v[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, v);
    EXPECT_NEAR(v[0], 0.0f, 1e-3);
    EXPECT_NEAR(v[1], 0.0f, 1e-3);
    EXPECT_NEAR(v[2], 0.0f, 1e-3);
    EXPECT_EQ(v[3], 1.0f);
    for (GLenum colour : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR}) {
        glGetLightfv(GL_LIGHT0, colour, v);
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(v[i], 1.0f);
    }
    glGetLightfv(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, v);
    EXPECT_EQ(v[0], 0.0005f);
    glGetLightfv(GL_LIGHT0, GL_CONSTANT_ATTENUATION, v);
    EXPECT_EQ(v[0], 1.0f);
    glGetLightfv(GL_LIGHT0, GL_LINEAR_ATTENUATION, v);
    EXPECT_EQ(v[0], 0.0f);

    GLint mode = 0;
    glGetIntegerv(GL_FOG_MODE, &mode);
    EXPECT_EQ(mode, GL_LINEAR);
    glGetFloatv(GL_FOG_COLOR, v);
    EXPECT_EQ(v[0], 0.0f);
    EXPECT_EQ(v[1], 0.0f);
    EXPECT_EQ(v[2], 0.0f);
    EXPECT_EQ(v[3], 1.0f);
    glGetFloatv(GL_FOG_START, v);
    EXPECT_EQ(v[0], 0.1f);
    glGetFloatv(GL_FOG_END, v);
    EXPECT_EQ(v[0], 70.0f);
    glGetFloatv(GL_FOG_DENSITY, v);
    EXPECT_EQ(v[0], 0.25f);
    GLint hint = 0;
    glGetIntegerv(GL_FOG_HINT, &hint);
    EXPECT_EQ(hint, GL_DONT_CARE);

    // A 50 degree field of view, and the camera of pitch -0.3 and yaw 0.7 + pi/2.
    GLfloat projection[16], modelview[16], expected[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[5], 1.0 / tan(25.0 * M_PI / 180.0), 1e-5);
    EXPECT_NEAR(projection[0], projection[5] / (800.0 / 600.0), 1e-5);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    SetupCamera3D(-0.3f, (float)(0.7 + 1.5707963146269321), 50.0f);
    glGetFloatv(GL_MODELVIEW_MATRIX, expected);
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(modelview[i], expected[i]) << "element " << i;
    // Looking up by 0.3 radians: the view direction (third row, negated) rises.
    EXPECT_NEAR(-modelview[6], sin(0.3), 1e-5);
}

TEST(WorldRenderer, TileAheadOfTheEyeIsLitAndNothingIsDrawnWhenTheCubeMissesTheGrid)
{
    SetUpScene();
    SetTile(127, 3, 125, 2, 0);  // its near face 15 units ahead
    Render();
    unsigned char rgb[3];
    ReadPixel(CENTRE_X, CENTRE_Y, rgb);
    EXPECT_GT(rgb[0], 100);
    EXPECT_EQ(rgb[0], rgb[1]);
    EXPECT_EQ(rgb[1], rgb[2]);
    // The sides of the screen show the black clear colour.
    ReadPixel(20, CENTRE_Y, rgb);
    EXPECT_EQ(rgb[0] + rgb[1] + rgb[2], 0);

    // The player's cell far off the grid: its cube holds no grid cell.
    gameState.cell.x = -20;
    Render();
    EXPECT_EQ(CentreBrightness(), 0);
    gameState.cell.x = 260;
    Render();
    EXPECT_EQ(CentreBrightness(), 0);
    // The cube reaching just onto the grid's last column.
    gameState.cell.x = 137;
    Render();
    EXPECT_GT(CentreBrightness(), 300);
    gameState.cell.x = 138;
    Render();
    EXPECT_EQ(CentreBrightness(), 0);
}

TEST(WorldRenderer, FogIsCompleteAtTenTimesTheViewDistance)
{
    SetUpScene();
    SetTile(127, 3, 125, 3, 0);  // its face 26 units ahead
    gameState.viewDistance = 2;  // fog ends at 20
    Render();
    EXPECT_EQ(CentreBrightness(), 0);
    gameState.viewDistance = 3;  // fog ends at 30: a little light is left
    Render();
    int dim = CentreBrightness();
    EXPECT_GT(dim, 0);
    gameState.viewDistance = 20;
    Render();
    EXPECT_GT(CentreBrightness(), 4 * dim);
}

TEST(WorldRenderer, OrientationSelectsTheTurnedModelAndEntitiesTurnByTheirAngle)
{
    SetUpScene();
    // Two quarter turns move the square to the +x face, facing away from the eye.
    SetTile(127, 3, 125, 2, 2);
    Render();
    EXPECT_EQ(CentreBrightness(), 0);
    // Seen from beyond it, looking along -x.
    gameState.eye = Vec3{1290.0f, 33.8f, 1250.0f};
    gameState.cell = CellCoord{129, 3, 125};
    gameState.yaw = (float)M_PI;
    Render();
    EXPECT_GT(CentreBrightness(), 300);
    SetTile(127, 3, 125, 2, 0);
    Render();
    EXPECT_EQ(CentreBrightness(), 0);
    SetTile(127, 3, 125, 0, 0);

    // An entity is drawn turned by its own angle at its own position.
    Entity* lift = new Entity{ENTITY_LIFT, 1271.0f, 31.0f, 1250.0f, 0.0f, 0, 0, 0, 0};
    FileEntity(CellIndex(127, 3, 125), lift);
    Render();
    EXPECT_EQ(CentreBrightness(), 0);
    lift->angle = (float)M_PI;
    Render();
    EXPECT_GT(CentreBrightness(), 300);
}

TEST(WorldRenderer, DrawsOnlyTheCellsAndEntitiesOfTheClippedCube)
{
    SetUpScene();
    gameState.viewDistance = 10;
    gameState.cell = CellCoord{0, 0, 0};
    SetTile(10, 10, 10, 2, 1);  // inside: two triangles
    SetTile(11, 0, 0, 2, 0);
    SetTile(0, 11, 0, 2, 0);
    SetTile(0, 0, 11, 2, 0);
    EXPECT_EQ(CountTriangles(), 2u);

    gameState.cell = CellCoord{249, 14, 249};
    SetTile(239, 4, 239, 3, 3);
    SetTile(238, 14, 249, 2, 0);
    SetTile(249, 3, 249, 2, 0);
    SetTile(249, 14, 238, 2, 0);
    EXPECT_EQ(CountTriangles(), 2u);

    // A view distance of 1 draws the 3 x 3 x 3 cells around the player's cell.
    gameState.viewDistance = 1;
    gameState.cell = CellCoord{100, 5, 100};
    for (int x = 98; x <= 102; x++)
        for (int y = 3; y <= 7; y++)
            for (int z = 98; z <= 102; z++)
                SetTile(x, y, z, 3, 0);
    EXPECT_EQ(CountTriangles(), 2u * 27);

    // Codes and turns outside the model tables are not drawn.
    gameState.cell = CellCoord{50, 5, 50};
    SetTile(50, 5, 50, 46, 0);
    SetTile(51, 5, 50, 2, 4);
    SetTile(50, 5, 51, 200, 0);
    SetTile(49, 5, 50, 2, 3);
    EXPECT_EQ(CountTriangles(), 2u);

    // Both entities of a full cell; none of a cell whose count is 0.
    int full = CellIndex(50, 6, 50);
    FileEntity(full, new Entity{ENTITY_LIFT, 500, 60, 500, 0, 0, 0, 0, 0});
    FileEntity(full, new Entity{ENTITY_LIFT, 500, 65, 500, 1, 0, 0, 0, 0});
    int emptied = CellIndex(50, 6, 51);
    entitySlots[emptied * 2] = entitySlots[full * 2];
    EXPECT_EQ(CountTriangles(), 2u + 4u);
    // Entities outside the cube are not drawn.
    gameState.cell = CellCoord{50, 5, 48};
    EXPECT_EQ(CountTriangles(), 0u);
}

TEST(WorldRenderer, TogglingTexturesChangesThePicture)
{
    SetUpScene();
    SetTile(127, 3, 125, 2, 0);
    // A plain blue world texture.
    const unsigned char blue[4 * 4 * 3] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255,
                                           0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255,
                                           0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255};
    glGenTextures(1, &worldTexture);
    glBindTexture(GL_TEXTURE_2D, worldTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, blue);
    glBindTexture(GL_TEXTURE_2D, 0);

    gameState.texturesEnabled = true;
    Render();
    unsigned char textured[3];
    ReadPixel(CENTRE_X, CENTRE_Y, textured);
    EXPECT_EQ(textured[0], 0);
    EXPECT_GT(textured[2], 100);

    gameState.texturesEnabled = false;
    Render();
    unsigned char plain[3];
    ReadPixel(CENTRE_X, CENTRE_Y, plain);
    EXPECT_GT(plain[0], 100);
    EXPECT_EQ(plain[0], plain[2]);
}
