#include "interface/quads.h"

#include <GL/gl.h>

#include "app/camera.h"
#include "interface/textures.h"

QuadCoords pointerCoords;

QuadCoords AtlasQuadCoords(float x, float y, float w, float h)
{
    float left = x * ATLAS_S_SCALE, right = (x + w) * ATLAS_S_SCALE;
    float top = y * ATLAS_T_SCALE, bottom = (y + h) * ATLAS_T_SCALE;
    return QuadCoords{{left, bottom, right, bottom, right, top, left, top}};
}

void DrawQuad(float x, float y, float w, float h, const QuadCoords& coords)
{
    // Client arrays are read during glDrawArrays, so a local array will do.
    const float corners[8] = {x, y + h, x + w, y + h, x + w, y, x, y};
    glVertexPointer(2, GL_FLOAT, 0, corners);
    glTexCoordPointer(2, GL_FLOAT, 0, coords.st);
    glDrawArrays(GL_QUADS, 0, 4);
}

void BeginInterfaceDrawing()
{
    Begin2D();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glBindTexture(GL_TEXTURE_2D, interfaceTexture);
}

void EndInterfaceDrawing()
{
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
}

void BuildPointerCoords()
{
    pointerCoords = AtlasQuadCoords(POINTER_ATLAS_X, POINTER_ATLAS_Y, POINTER_WIDTH, POINTER_HEIGHT);
}

void DrawPointer(int x, int y)
{
    BeginInterfaceDrawing();
    DrawQuad((float)(x - POINTER_HOT_X), (float)(y - POINTER_HOT_Y), POINTER_WIDTH, POINTER_HEIGHT, pointerCoords);
    EndInterfaceDrawing();
}
