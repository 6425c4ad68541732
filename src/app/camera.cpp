#include "app/camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "app/display.h"
#include "player/game_state.h"

void SetupCamera3D(float pitchAngle, float yawAngle, float fieldOfView)
{
    glEnable(GL_DEPTH_TEST);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, aspectRatio, NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    float rollDegrees = gameState.roll * RADIANS_TO_DEGREES;
    float pitchDegrees = pitchAngle * RADIANS_TO_DEGREES;
    float yawDegrees = yawAngle * RADIANS_TO_DEGREES;
    glRotatef(rollDegrees, 0.0f, 0.0f, 1.0f);
    glRotatef(pitchDegrees, 1.0f, 0.0f, 0.0f);
    glRotatef(yawDegrees, 0.0f, 1.0f, 0.0f);
    glTranslatef(-gameState.eye.x, -gameState.eye.y, -gameState.eye.z);
}

void Begin2D()
{
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(1.0f, -1.0f, 1.0f);
    glTranslatef(-1.0f, -1.0f, 0.0f);
    glScalef(2.0f / screenWidth, 2.0f / screenHeight, 1.0f);
}
