#include "render/world_renderer.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdint>

#include "app/camera.h"
#include "interface/textures.h"
#include "player/game_state.h"
#include "render/model_sets.h"
#include "world/mathlib.h"
#include "world/world_grid.h"

// Added to yaw so that the forward direction (cos yaw, 0, sin yaw) looks down -z: a
// quarter turn through the float degree factor, a double just under pi / 2.
static const double CAMERA_YAW_OFFSET = QUARTER_TURN_DEGREES * (double)DEGREES_TO_RADIANS;
static const float FIELD_OF_VIEW = 50.0f;
static const float LIGHT_QUADRATIC_ATTENUATION = 0.0005f;
static const float FOG_START = 0.1f;
static const float FOG_DENSITY = 0.25f;

int modelsDrawn;
// How far (world units) a model's box must lie beyond a plane of the view to be left out: far
// more than the rounding of OpenGL's single-precision transforms at the grid's coordinates.
static const double CULL_MARGIN = 0.1;

// The planes a drawn model must reach: the four sides and the near plane of the view, and the
// fog's end. Each is (a, b, c, d) with a unit normal, a x + b y + c z + d >= 0 on the side that
// can be seen, in world coordinates.
enum { VIEW_PLANE_COUNT = 6 };
static double viewPlanes[VIEW_PLANE_COUNT][4];

// The planes of the camera's matrices, as OpenGL holds them after SetupCamera3D. A point's clip
// coordinates are projection x modelview x (x, y, z, 1); it is inside the side and near planes
// when w + x, w - x, w + y, w - y and w + z are all >= 0. Linear fog turns a fragment wholly the
// fog colour from the fog end on, measured in eye space either as |z| or as the distance from
// the eye, never less than |z|: eye depth -z < fogEnd holds wherever a fragment is not black.
static void SetViewPlanes(double fogEnd)
{
    GLfloat projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    double clip[4][4];  // clip[row][column]
    for (int row = 0; row < 4; row++)
        for (int column = 0; column < 4; column++) {
            double sum = 0.0;
            for (int k = 0; k < 4; k++)
                sum += (double)projection[4 * k + row] * (double)modelview[4 * column + k];
            clip[row][column] = sum;
        }
    for (int side = 0; side < 5; side++) {
        double sign = side % 2 ? -1.0 : 1.0;
        const double* axis = clip[side / 2];
        for (int k = 0; k < 4; k++)
            viewPlanes[side][k] = clip[3][k] + sign * axis[k];
    }
    for (int k = 0; k < 4; k++)
        viewPlanes[5][k] = (double)modelview[4 * k + 2];
    viewPlanes[5][3] += fogEnd;
    for (double* plane : viewPlanes) {
        double length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
        for (int k = 0; k < 4; k++)
            plane[k] /= length;
    }
}

// Whether a model's box, moved by (x, y, z), lies wholly beyond one of the view planes by more
// than the margin, so that no fragment of it can show.
static bool OutOfView(const ModelBounds& box, double x, double y, double z)
{
    double centre[3] = {x + 0.5 * ((double)box.low[0] + box.high[0]), y + 0.5 * ((double)box.low[1] + box.high[1]),
                        z + 0.5 * ((double)box.low[2] + box.high[2])};
    double half[3] = {0.5 * ((double)box.high[0] - box.low[0]), 0.5 * ((double)box.high[1] - box.low[1]),
                      0.5 * ((double)box.high[2] - box.low[2])};
    for (const double* plane : viewPlanes) {
        double reach = plane[3];
        for (int a = 0; a < 3; a++)
            reach += plane[a] * centre[a] + std::fabs(plane[a]) * half[a];
        if (reach < -CULL_MARGIN)
            return true;
    }
    return false;
}

// Mesa's llvmpipe, which draws on the CPU for players without a GPU driver, rasterises only what has
// been flushed: a flush before every 128th model drawn lets its threads rasterise the first part of
// the frame while the rest is still submitted. A flush changes no pixel, and a GPU driver pays a
// few submissions a frame for it.
static const int MODELS_PER_FLUSH = 128;

static void CountModelDrawn()
{
    if (++modelsDrawn % MODELS_PER_FLUSH == 0)
        glFlush();
}

static void DrawTiles(int x0, int x1, int y0, int y1, int z0, int z1)
{
    for (int x = x0; x < x1; x++) {
        for (int y = y0; y < y1; y++) {
            for (int z = z0; z < z1; z++) {
                const WorldCell& cell = worldGrid[CellIndex(x, y, z)];
                int t = (int8_t)cell.tileType;
                int r = (int8_t)cell.orientation;
                // Codes and turns outside the model tables (only a damaged
                // grid holds them) are not drawn.
                if (t <= 0 || t >= TILE_TYPE_COUNT || r < 0 || r >= ORIENTATION_COUNT)
                    continue;
                const TileModel& model = tileModels[t];
                if (OutOfView(model.bounds[r], CELL_SIZE * x, CELL_SIZE * y, CELL_SIZE * z))
                    continue;
                CountModelDrawn();
                glPushMatrix();
                glTranslatef((float)(CELL_SIZE * x), (float)(CELL_SIZE * y), (float)(CELL_SIZE * z));
                glVertexPointer(3, GL_FLOAT, 0, model.positions[r]);
                glTexCoordPointer(2, GL_FLOAT, 0, model.texCoords);
                glNormalPointer(GL_FLOAT, 0, model.normals[r]);
                glDrawArrays(GL_TRIANGLES, 0, model.vertexCount);
                glPopMatrix();
            }
        }
    }
}

static void DrawEntities(int x0, int x1, int y0, int y1, int z0, int z1)
{
    for (int x = x0; x < x1; x++) {
        for (int y = y0; y < y1; y++) {
            for (int z = z0; z < z1; z++) {
                int i = CellIndex(x, y, z);
                int count = entityCount[i];
                if (count > MAX_ENTITIES_PER_CELL)
                    count = MAX_ENTITIES_PER_CELL;
                for (int k = 0; k < count; k++) {
                    const Entity* e = EntitySlot(i, k);
                    if (!e || e->kind < 0 || e->kind >= ENTITY_KIND_COUNT)
                        continue;
                    const EntityModel& model = entityModels[e->kind];
                    if (OutOfView(model.bounds, e->x, e->y, e->z))
                        continue;
                    CountModelDrawn();
                    glPushMatrix();
                    glTranslatef(e->x, e->y, e->z);
                    // The product is formed in double, then rounded.
                    glRotatef((float)(e->angle * (double)RADIANS_TO_DEGREES), 0.0f, 1.0f, 0.0f);
                    glVertexPointer(3, GL_FLOAT, 0, model.positions);
                    glTexCoordPointer(2, GL_FLOAT, 0, model.texCoords);
                    glNormalPointer(GL_FLOAT, 0, model.normals);
                    glDrawArrays(GL_TRIANGLES, 0, model.vertexCount);
                    glPopMatrix();
                }
            }
        }
    }
}

void RenderWorld()
{
    int distance = gameState.viewDistance;
    CellSpan xs = ClipCellSpan(gameState.cell.x, distance, GRID_SIZE_X);
    CellSpan ys = ClipCellSpan(gameState.cell.y, distance, GRID_LAYERS);
    CellSpan zs = ClipCellSpan(gameState.cell.z, distance, GRID_SIZE_Z);

    SetupCamera3D(-gameState.pitch, (float)((double)gameState.yaw + CAMERA_YAW_OFFSET), FIELD_OF_VIEW);

    if (gameState.texturesEnabled)
        glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);

    // Set after the camera transform, so the position is in world space: a
    // point light at the eye.
    const GLfloat lightPosition[4] = {gameState.eye.x, gameState.eye.y, gameState.eye.z, 1.0f};
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glLightfv(GL_LIGHT0, GL_AMBIENT, white);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, LIGHT_QUADRATIC_ATTENUATION);
    glEnableClientState(GL_NORMAL_ARRAY);

    // Black linear fog that is complete at the edge of the drawn cube.
    const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, black);
    glFogf(GL_FOG_DENSITY, FOG_DENSITY);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glFogf(GL_FOG_START, FOG_START);
    float fogEnd = (float)(CELL_SIZE * distance);
    glFogf(GL_FOG_END, fogEnd);
    glEnable(GL_FOG);

    // Bound even when texturing is off; every model uses this one texture.
    glBindTexture(GL_TEXTURE_2D, worldTexture);

    // What lies wholly outside the view or beyond the fog's end cannot change a pixel: it is
    // left out, and everything else is drawn as it would be without it.
    SetViewPlanes(fogEnd);
    modelsDrawn = 0;

    DrawTiles(xs.from, xs.to, ys.from, ys.to, zs.from, zs.to);
    DrawEntities(xs.from, xs.to, ys.from, ys.to, zs.from, zs.to);

    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDisable(GL_FOG);
}
