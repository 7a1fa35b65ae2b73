#include "app/game.h"

#include <cmath>

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

constexpr double pi = 3.141592653589793;

struct projection {
    GLfloat m[16];
};

projection currentProjection() {
    projection p;
    glGetFloatv(GL_PROJECTION_MATRIX, p.m);
    return p;
}

// The test window is 800x600: leave the viewport on all of it for the next test.
class Reshape : public testing::Test {
  protected:
    void TearDown() override { reshape(800, 600); }
};

} // namespace

TEST_F(Reshape, TheViewportCoversTheNewWindowAndModelviewIsLeftSelected) {
    reshape(400, 300);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 400);
    EXPECT_EQ(viewport[3], 300);
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

// The projection is a 50-degree perspective with the window's aspect, times an ortho box of
// the window's size: its x scale is cot(25 degrees) / aspect * 2 / width.
TEST_F(Reshape, ProjectsWithThePerspectiveTimesTheWindowsOrthoBox) {
    reshape(400, 300);
    const double f = 1.0 / std::tan(25.0 * pi / 180.0);
    const projection p = currentProjection();
    EXPECT_NEAR(p.m[0], f / (400.0 / 300.0) * 2.0 / 400.0, 1e-6);
    EXPECT_NEAR(p.m[5], f * 2.0 / 300.0, 1e-6);
}

TEST_F(Reshape, AWindowWithNoHeightIsProjectedAsOnePixelHigh) {
    reshape(800, 1);
    const projection onePixel = currentProjection();
    while (glGetError() != GL_NO_ERROR) {
    }
    reshape(800, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const projection none = currentProjection();
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(std::isfinite(none.m[i])) << i;
        EXPECT_EQ(none.m[i], onePixel.m[i]) << i;
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 0);
}
