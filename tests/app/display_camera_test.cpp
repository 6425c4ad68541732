#include <GL/glu.h>

#include "app/camera.h"
#include "app/display.h"
#include "player/game_state.h"
#include "support/test_support.h"

// Window coordinates (origin bottom-left, as OpenGL gives them) of a point
// under the current matrices.
static void Project(double x, double y, double z, double out[3])
{
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    ASSERT_EQ(gluProject(x, y, z, model, projection, viewport, &out[0], &out[1], &out[2]), GL_TRUE);
}

static void RendererCamera()
{
    SetupCamera3D(-gameState.pitch, (float)(gameState.yaw + 1.5707963146269321), 50.0f);
}

TEST(Display, OpensTheRequestedWindowWithTheFixedDrawingState)
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
    GLfloat clear[5];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &clear[4]);
    EXPECT_EQ(std::vector<GLfloat>(clear, clear + 5), (std::vector<GLfloat>{0, 0, 0, 1, 1}));

    for (GLenum on : {GL_DEPTH_TEST, GL_CULL_FACE})
        EXPECT_TRUE(glIsEnabled(on)) << on;
    for (GLenum off : {GL_BLEND, GL_ALPHA_TEST, GL_LINE_SMOOTH, GL_POLYGON_SMOOTH})
        EXPECT_FALSE(glIsEnabled(off)) << off;
    const GLenum states[][2] = {{GL_DEPTH_FUNC, GL_LEQUAL},  {GL_SHADE_MODEL, GL_SMOOTH},
                                {GL_CULL_FACE_MODE, GL_BACK}, {GL_FRONT_FACE, GL_CCW},
                                {GL_BLEND_SRC, GL_SRC_ALPHA}, {GL_BLEND_DST, GL_ONE_MINUS_SRC_ALPHA},
                                {GL_ALPHA_TEST_FUNC, GL_GREATER}, {GL_MATRIX_MODE, GL_MODELVIEW},
                                {GL_DOUBLEBUFFER, GL_TRUE}};
    for (const auto& state : states) {
        GLint value;
        glGetIntegerv(state[0], &value);
        EXPECT_EQ((GLenum)value, state[1]) << state[0];
    }
    GLfloat alphaRef;
    glGetFloatv(GL_ALPHA_TEST_REF, &alphaRef);
    EXPECT_EQ(alphaRef, 0.0f);
    GLint depthBits;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 16);

    // The start-up projection is a 45 degree perspective over 1..1000.
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double expected[][2] = {{m[0], 1.8106601}, {m[5], 2.4142136}, {m[10], -1001.0 / 999.0},
                                  {m[11], -1.0}, {m[14], -2000.0 / 999.0}, {m[15], 0.0}};
    for (const auto& e : expected)
        EXPECT_NEAR(e[0], e[1], 1e-6);
}

TEST(Camera, TheEyeLooksAlongItsForwardDirection)
{
    OpenTestDisplay(800, 600);
    ResetGameState();
    gameState.eye = {1250.0f, 33.8f, 1250.0f};
    // Yaw 0 looks along +x, a quarter turn along +z; pitch up looks up; the
    // vertical field of view is 50 degrees, so a point 25 degrees above the
    // axis lies on the top edge; +z is right of the view at yaw 0; a point
    // behind the eye or past the far plane is clipped (depth above 1); a
    // positive pitch moves what is ahead down the screen; a quarter roll
    // turns a point above the axis beside it.
    const double NONE = -1;
    const struct { float pitch, yaw, roll; double x, y, z, windowX, windowY; } cases[] = {
        {0, 0, 0, 1260, 33.8, 1250, 400, 300},
        {0, 1.5707964f, 0, 1250, 33.8, 1260, 400, 300},
        {1.5707964f, 0, 0, 1250, 43.8, 1250, 400, 300},
        {0, 0, 0, 1260, 33.8 + 10.0 * 0.46630766, 1250, NONE, 600},
    };
    double window[3];
    for (const auto& c : cases) {
        gameState.pitch = c.pitch, gameState.yaw = c.yaw, gameState.roll = c.roll;
        RendererCamera();
        Project(c.x, c.y, c.z, window);
        if (c.windowX != NONE)
            EXPECT_NEAR(window[0], c.windowX, 0.01) << c.pitch << " " << c.yaw;
        EXPECT_NEAR(window[1], c.windowY, 0.05) << c.pitch << " " << c.yaw;
        EXPECT_TRUE(window[2] > 0.0 && window[2] < 1.0);
    }
    gameState.pitch = gameState.yaw = gameState.roll = 0.0f;
    RendererCamera();
    Project(1250, 33.8, 1260, window);
    EXPECT_GT(window[0], 800.0);
    Project(1240, 33.8, 1250, window);
    EXPECT_GT(window[2], 1.0);
    Project(2260, 33.8, 1250, window);
    EXPECT_GT(window[2], 1.0);
    gameState.pitch = 0.3f;
    RendererCamera();
    Project(1260, 33.8, 1250, window);
    EXPECT_LT(window[1], 300.0);
    gameState.pitch = 0.0f;
    gameState.roll = 1.5707964f;
    RendererCamera();
    Project(1260, 35.8, 1250, window);
    EXPECT_NEAR(window[1], 300.0, 0.01);
    EXPECT_GT(std::abs(window[0] - 400.0), 50.0);
}
