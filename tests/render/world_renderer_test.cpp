#include "support/test_support.h"
#include <GL/glext.h>
#include <SDL.h>
#include "app/camera.h"
#include "interface/textures.h"
#include "player/game_state.h"
#include "render/model_sets.h"
#include "render/world_renderer.h"


// An 800 x 600 window; tile 2 and entity 1 are a 10 x 10 square on the cell's -x face seen from -x,
// tile 3 that square 6 beyond the centre on +x; tile 4 and entity 0 one triangle whose box holds the
// whole world wherever it is drawn, so it is never left out as out of view. The eye is at (1250, 33.8, 1250) looking along +x.
static void SetUpScene()
{
    OpenTestDisplay(800, 600);
    EnterTempDir({"Media", "Media/worldtiles", "Media/entities"});
    const std::string faces = "vt 0 0\nvn 0 0 0\nf 1/1/1 2/1/1 3/1/1\nf 1/1/1 3/1/1 4/1/1\n";
    const std::string nearFace = "v -5 -5 -5\nv -5 -5 5\nv -5 5 5\nv -5 5 -5\n" + faces;
    WriteFileText("Media/worldtiles/worldtile2.obj", nearFace);
    WriteFileText("Media/entities/entity1.obj", nearFace);
    WriteFileText("Media/worldtiles/worldtile3.obj", "v 6 -5 -5\nv 6 -5 5\nv 6 5 5\nv 6 5 -5\n" + faces);
    const std::string everywhere = "v -3000 -3000 -3000\nv 3000 3000 3000\nv 3000 -3000 3000\nvt 0 0\nvn 0 0 0\n"
                                   "f 1/1/1 2/1/1 3/1/1\n";
    WriteFileText("Media/worldtiles/worldtile4.obj", everywhere);
    WriteFileText("Media/entities/entity0.obj", everywhere);
    LoadTileModels();
    LoadEntityModels();
    ResetGameState();  // view distance 10, cell (125, 3, 125), textures on
    gameState.eye = Vec3{1250.0f, 33.8f, 1250.0f};
    worldTexture = 0;
}

// Draws a frame; returns the colour at the screen centre and the number of triangles submitted.
static std::vector<int> Render()
{
    // Query objects (OpenGL 1.5) are reached through the context, as Windows' OpenGL 1.1 library
    // does not export them.
    auto glGenQueries = (PFNGLGENQUERIESPROC)SDL_GL_GetProcAddress("glGenQueries");
    auto glBeginQuery = (PFNGLBEGINQUERYPROC)SDL_GL_GetProcAddress("glBeginQuery");
    auto glEndQuery = (PFNGLENDQUERYPROC)SDL_GL_GetProcAddress("glEndQuery");
    auto glGetQueryObjectuiv = (PFNGLGETQUERYOBJECTUIVPROC)SDL_GL_GetProcAddress("glGetQueryObjectuiv");
    GLuint query = 0, triangles = 0;
    unsigned char rgb[3];
    glGenQueries(1, &query);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    RenderWorld();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &triangles);
    ReadPixel(400, 300, rgb);
    return {rgb[0], rgb[1], rgb[2], (int)triangles};
}

static int Brightness(const std::vector<int>& c) { return c[0] + c[1] + c[2]; }
// A light parameter (light != 0) or a state value, as n floats.
static Floats Get(GLenum what, int n, GLenum light = 0)
{
    Floats v(16, -1.0f);
    light ? glGetLightfv(light, what, v.data()) : glGetFloatv(what, v.data());
    return Floats(v.begin(), v.begin() + n);
}

TEST(WorldRenderer, SetsUpCameraLightAndFogTurnsThemOffAfterThePassAndLightsTheTileAhead)
{
    SetUpScene();
    gameState.viewDistance = 7; gameState.pitch = 0.3f; gameState.yaw = 0.7f;
    glGenTextures(1, &worldTexture);
    Render();
    for (GLenum cap : {GL_TEXTURE_2D, GL_LIGHTING, GL_LIGHT0, GL_FOG, GL_VERTEX_ARRAY, GL_TEXTURE_COORD_ARRAY,
                       GL_NORMAL_ARRAY, GL_BLEND}) EXPECT_FALSE(glIsEnabled(cap)) << "capability " << cap;
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(Get(GL_TEXTURE_BINDING_2D, 1)[0], (float)worldTexture);
    // Placed after the camera, the light sits at the eye: the origin of eye space.
    Floats position = Get(GL_POSITION, 4, GL_LIGHT0);
    EXPECT_LT(std::fabs(position[0]) + std::fabs(position[1]) + std::fabs(position[2]), 1e-3);
    EXPECT_EQ(position[3], 1.0f);
    // The camera of pitch -0.3, yaw 0.7 + pi/2 and a 50 degree field of view.
    Floats projection = Get(GL_PROJECTION_MATRIX, 16), modelview = Get(GL_MODELVIEW_MATRIX, 16);
    SetupCamera3D(-0.3f, (float)(0.7 + 1.5707963146269321), 50.0f);
    EXPECT_EQ(projection, Get(GL_PROJECTION_MATRIX, 16));
    EXPECT_EQ(modelview, Get(GL_MODELVIEW_MATRIX, 16));
    // A tile ahead lights the centre unless turned away, fogged or textured.
    gameState.viewDistance = 10; gameState.pitch = gameState.yaw = 0.0f; worldTexture = 0;
    Put(127, 3, 125, 2, 0);  // its near face 15 units ahead
    std::vector<int> lit = Render();
    EXPECT_GT(lit[0], 100);  // white light, no texture
    EXPECT_EQ(lit[1], lit[0]);
    EXPECT_EQ(lit[2], lit[0]);
    // Turned twice, the square is on the +x face looking away: culled.
    Put(127, 3, 125, 2, 2);
    EXPECT_EQ(Brightness(Render()), 0);
    // An entity turns by its own angle at its own position.
    Put(127, 3, 125, 0, 0);
    Entity* lift = new Entity{ENTITY_LIFT, 1271.0f, 31.0f, 1250.0f, PI, 0, 0, 0, 0};
    FileEntity(CellIndex(127, 3, 125), lift);
    EXPECT_EQ(Brightness(Render()), 0);
    lift->angle = 0.0f;
    EXPECT_GT(Brightness(Render()), 300);
    ClearEntityIndex();
    // A face 26 units ahead: black with the fog ending at 20, dim at 30.
    Put(127, 3, 125, 3, 0);
    gameState.viewDistance = 2;
    EXPECT_EQ(Brightness(Render()), 0);
    gameState.viewDistance = 3;
    int dim = Brightness(Render());
    EXPECT_GT(dim, 0);
    gameState.viewDistance = 20;
    EXPECT_GT(Brightness(Render()), 4 * dim);
    // With a plain blue world texture, texturing shows blue; off, white light.
    const unsigned char blue[4] = {0, 0, 255, 0};
    glGenTextures(1, &worldTexture);
    glBindTexture(GL_TEXTURE_2D, worldTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, blue);
    std::vector<int> textured = Render();
    EXPECT_EQ(textured[0], 0);
    EXPECT_GT(textured[2], 100);
    gameState.texturesEnabled = false;
    std::vector<int> plain = Render();
    EXPECT_GT(plain[0], 100);
    EXPECT_EQ(plain[2], plain[0]);
}

TEST(WorldRenderer, DrawsOnlyTheCellsAndEntitiesOfTheClippedCube)
{
    SetUpScene();
    // A cube around a cell off the grid holds no cell; from x = 137 it just reaches x = 127.
    Put(127, 3, 125, 4, 0);
    for (int x : {-20, 260, 138, 137}) {
        gameState.cell.x = x;
        EXPECT_EQ(Render()[3], x == 137 ? 1 : 0) << "player cell x " << x;
    }
    // At the grid's corners the range is 0..10 on each axis, then x 239..249, y 4..14, z 239..249.
    gameState.cell = CellCoord{0, 0, 0};
    for (const CellCoord& c : {CellCoord{10, 10, 10}, {11, 0, 0}, {0, 11, 0}, {0, 0, 11}}) Put(c.x, c.y, c.z, 4, 1);
    EXPECT_EQ(Render()[3], 1);
    gameState.cell = CellCoord{249, 14, 249};
    for (const CellCoord& c : {CellCoord{239, 4, 239}, {238, 14, 249}, {249, 3, 249}, {249, 14, 238}})
        Put(c.x, c.y, c.z, 4, 3);
    EXPECT_EQ(Render()[3], 1);
    // View distance 1 draws the 3 x 3 x 3 cells around the player; codes and turns outside the tables never.
    gameState.viewDistance = 1;
    gameState.cell = CellCoord{100, 5, 100};
    for (int y = 3; y <= 7; y++) Fill(98, 102, y, 98, 102, 4);
    Put(100, 5, 100, 46, 0);
    Put(101, 5, 100, 2, 4);
    EXPECT_EQ(Render()[3], 25);
    // Both entities of a cell holding two; none of a cell whose count is 0, whatever its slots hold.
    int full = CellIndex(100, 6, 100);
    FileEntity(full, new Entity{ENTITY_COLLECTABLE, 1000, 60, 1000, 0, 0, 0, 0, 0});
    FileEntity(full, new Entity{ENTITY_COLLECTABLE, 1000, 65, 1000, 1, 0, 0, 0, 0});
    entitySlots[CellIndex(100, 6, 101) * MAX_ENTITIES_PER_CELL] = entitySlots[full * MAX_ENTITIES_PER_CELL];
    EXPECT_EQ(Render()[3], 25 + 2);
    gameState.cell = CellCoord{100, 5, 98};
    EXPECT_EQ(Render()[3], 18);
}
