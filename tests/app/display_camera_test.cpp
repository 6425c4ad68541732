#include <GL/glu.h>
#include "app/camera.h"
#include "app/display.h"
#include "player/game_state.h"
#include "support/test_support.h"

// Window coordinates (origin bottom-left) of a point under the current matrices.
static void Project(double x, double y, double z, double out[3])
{
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    ASSERT_EQ(gluProject(x, y, z, model, projection, viewport, &out[0], &out[1], &out[2]), GL_TRUE);
}

TEST(Display, OpensTheRequestedWindowWithItsClearValuesAndProjection)
{
    OpenTestDisplay(800, 600);
    EXPECT_EQ(screenWidth, 800.0f);
    EXPECT_EQ(screenHeight, 600.0f);
    EXPECT_EQ(aspectRatio, 1.3333334f);
    EXPECT_GT(screenBpp, 0);
    ASSERT_NE(screenSurface, nullptr);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 0, 800, 600}));
    GLfloat values[6];  // the clear colour and depth, the alpha test's reference
    glGetFloatv(GL_COLOR_CLEAR_VALUE, values);
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &values[4]);
    glGetFloatv(GL_ALPHA_TEST_REF, &values[5]);
    EXPECT_EQ(std::vector<GLfloat>(values, values + 6), (std::vector<GLfloat>{0, 0, 0, 1, 1, 0}));
    // Frames are drawn out of sight and shown when presented (double-buffered, or a frame buffer of SDL's).
    int doubleBuffered = 0;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_EQ(doubleBuffered, 1);
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 16);
    // The start-up projection is a 45 degree perspective over 1..1000.
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double expected[][2] = {{m[0], 1.8106601}, {m[5], 2.4142136}, {m[10], -1001.0 / 999.0},
                                  {m[11], -1.0}, {m[14], -2000.0 / 999.0}, {m[15], 0.0}};
    for (const auto& e : expected) EXPECT_NEAR(e[0], e[1], 1e-6);
}

TEST(Camera, TheEyeLooksAlongItsForwardDirection)
{
    OpenTestDisplay(800, 600);
    ResetGameState();
    // Yaw 0 looks along +x, a quarter turn along +z, a quarter pitch up along +y. With f = 1 / tan 25 degrees
    // = 2.1445069 and the aspect 4 / 3, a point s units right of the axis and d ahead lands at
    // x = 400 + 400 * 1.6083802 * s / d, one h units above at y = 300 + 300 * f * h / d, at the depth
    // (1 + (1001 - 2000 / d) / 999) / 2: 0.9009009 at 10, past 1 behind the eye and beyond the far plane.
    const float Q = 1.5707964f;
    const struct { float pitch, yaw, roll; double x, y, z, windowX, windowY, depth; } cases[] = {
        {0, 0, 0, 1260, 33.8, 1250, 400, 300, 0.9009009},
        {0, Q, 0, 1250, 33.8, 1260, 400, 300, 0.9009009},
        {Q, 0, 0, 1250, 43.8, 1250, 400, 300, 0.9009009},
        {0, 0, 0, 1260, 33.8 + 10.0 * 0.46630766, 1250, 400, 600, 0.9009009},  // the top edge: h / d = tan 25
        {0, 0, 0, 1260, 33.8, 1252, 528.67041, 300, 0.9009009},                // +z is right at yaw 0
        {0, 0, 0, 1240, 33.8, 1250, 400, 300, 1.1011011},                      // behind the eye: d = -10
        {0, 0, 0, 2260, 33.8, 1250, 400, 300, 1.0000099},                      // past the far plane: d = 1010
        // Pitch 0.3 up moves what is ahead down: h / d = -tan 0.3.
        {0.3f, 0, 0, 1260, 33.8, 1250, 400, 100.98793, 0.8962211},
        // A quarter roll turns a point 2 above the axis to 2 left of it.
        {0, 0, Q, 1260, 35.8, 1250, 271.32959, 300, 0.9009009},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pitch << " " << c.yaw << " " << c.roll << " " << c.x << " " << c.z);
        gameState.eye = {1250.0f, 33.8f, 1250.0f};
        gameState.pitch = c.pitch, gameState.yaw = c.yaw, gameState.roll = c.roll;
        SetupCamera3D(-gameState.pitch, (float)(gameState.yaw + 1.5707963146269321), 50.0f);
        double w[3];
        Project(c.x, c.y, c.z, w);
        EXPECT_NEAR(w[0], c.windowX, 0.01);
        EXPECT_NEAR(w[1], c.windowY, 0.01);
        EXPECT_NEAR(w[2], c.depth, 3e-6);  // the matrices' floats, 1250 units from the origin
    }
}
