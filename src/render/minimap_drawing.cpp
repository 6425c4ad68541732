#include "render/minimap_drawing.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "app/display.h"
#include "player/game_state.h"
#include "world/mathlib.h"
#include "world/minimap.h"
#include "world/world_grid.h"

unsigned int mapTexture;
float mapScaleU;
float mapScaleV;

void BuildMapTexture()
{
    int width = MapPictureSize(MAP_CELLS);
    int height = MapPictureSize(MAP_CELLS);
    std::vector<unsigned char> picture((size_t)width * height * 3);
    FillMapPicture(picture.data(), width, height);

    GLuint name = 0;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, picture.data());

    mapTexture = name;
    mapScaleU = (float)MAP_CELLS / (float)width;
    mapScaleV = (float)MAP_CELLS / (float)height;
}

void DrawMapOverlay()
{
    float su = mapScaleU;
    float sv = mapScaleV;
    float hu = su / 2.0f;
    float hv = sv / 2.0f;
    float px = gameState.position.x;
    float pz = gameState.position.z;
    float h = screenHeight;

    // Window corners in texture space around its centre, turned so that the
    // view direction points up the screen.
    const float corners[4][2] = {{hu, -hv}, {-hu, -hv}, {-hu, hv}, {hu, hv}};
    float a = HALF_PI - gameState.yaw;
    float ca = cosf(a);
    float sa = sinf(a);
    float centreS = ((px - MAP_CENTRE_BACK_X) / (float)WORLD_EXTENT_X - 1.0f) * su + 1.0f;
    float centreT = ((pz + MAP_CENTRE_ON_Z) / (float)WORLD_EXTENT_Z) * sv;
    float coords[8];
    for (int k = 0; k < 4; k++) {
        float qx = corners[k][0];
        float qy = corners[k][1];
        coords[k * 2] = centreS + (ca * qx + sa * qy) / MAP_ZOOM;
        coords[k * 2 + 1] = centreT + (ca * qy - sa * qx) / MAP_ZOOM;
    }
    const float low = (float)MAP_WINDOW_MARGIN, high = (float)(MAP_WINDOW_MARGIN + MAP_WINDOW_SIZE);
    const float window[8] = {low, h - low, high, h - low, high, h - high, low, h - high};

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, mapTexture);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, window);
    glTexCoordPointer(2, GL_FLOAT, 0, coords);
    glDrawArrays(GL_QUADS, 0, 4);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_TEXTURE_2D);

    // The player: a 4-pixel square at the window centre in the current colour.
    const float lo = (float)MAP_MARKER_LOW, hi = (float)(MAP_MARKER_LOW + MAP_MARKER_SIZE);
    const float marker[8] = {lo, h - lo, hi, h - lo, hi, h - hi, lo, h - hi};
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, marker);
    glDrawArrays(GL_QUADS, 0, 4);
    glDisableClientState(GL_VERTEX_ARRAY);
}
