#include "support/reference_renderer.h"

#include <GL/gl.h>
#include <cstdint>

#include "app/camera.h"
#include "interface/textures.h"
#include "player/game_state.h"
#include "render/model_sets.h"
#include "world/mathlib.h"

static void DrawModel(const float* positions, const float* texCoords, const float* normals, int count)
{
    glVertexPointer(3, GL_FLOAT, 0, positions);
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
    glNormalPointer(GL_FLOAT, 0, normals);
    glDrawArrays(GL_TRIANGLES, 0, count);
    glPopMatrix();
}

void RenderWholeCube()
{
    int d = gameState.viewDistance;
    CellSpan xs = ClipCellSpan(gameState.cell.x, d, GRID_SIZE_X), ys = ClipCellSpan(gameState.cell.y, d, GRID_LAYERS);
    CellSpan zs = ClipCellSpan(gameState.cell.z, d, GRID_SIZE_Z);
    SetupCamera3D(-gameState.pitch, (float)((double)gameState.yaw + 1.5707963146269321), 50.0f);
    if (gameState.texturesEnabled) glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat light[4] = {gameState.eye.x, gameState.eye.y, gameState.eye.z, 1.0f}, white[4] = {1, 1, 1, 1};
    const GLfloat black[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glLightfv(GL_LIGHT0, GL_AMBIENT, white);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 0.0005f);
    glEnableClientState(GL_NORMAL_ARRAY);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, black);
    glFogf(GL_FOG_DENSITY, 0.25f);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glFogf(GL_FOG_START, 0.1f);
    glFogf(GL_FOG_END, (float)(10.0 * d));
    glEnable(GL_FOG);
    glBindTexture(GL_TEXTURE_2D, worldTexture);
    for (int x = xs.from; x < xs.to; x++)
        for (int y = ys.from; y < ys.to; y++)
            for (int z = zs.from; z < zs.to; z++) {
                const WorldCell& cell = worldGrid[CellIndex(x, y, z)];
                int t = (int8_t)cell.tileType, r = (int8_t)cell.orientation;
                if (t <= 0 || t >= TILE_TYPE_COUNT || r < 0 || r >= ORIENTATION_COUNT) continue;
                const TileModel& m = tileModels[t];
                glPushMatrix();
                glTranslatef((float)(10 * x), (float)(10 * y), (float)(10 * z));
                DrawModel(m.positions[r], m.texCoords, m.normals[r], m.vertexCount);
            }
    for (int x = xs.from; x < xs.to; x++)
        for (int y = ys.from; y < ys.to; y++)
            for (int z = zs.from; z < zs.to; z++) {
                int i = CellIndex(x, y, z);
                for (int k = 0; k < entityCount[i] && k < MAX_ENTITIES_PER_CELL; k++) {
                    const Entity* e = EntitySlot(i, k);
                    if (!e || e->kind < 0 || e->kind >= ENTITY_KIND_COUNT) continue;
                    const EntityModel& m = entityModels[e->kind];
                    glPushMatrix();
                    glTranslatef(e->x, e->y, e->z);
                    glRotatef((float)(e->angle * (double)RADIANS_TO_DEGREES), 0.0f, 1.0f, 0.0f);
                    DrawModel(m.positions, m.texCoords, m.normals, m.vertexCount);
                }
            }
    for (GLenum array : {GL_VERTEX_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_NORMAL_ARRAY}) glDisableClientState(array);
    for (GLenum cap : {GL_TEXTURE_2D, GL_LIGHTING, GL_LIGHT0, GL_FOG}) glDisable(cap);
}
