#include "app/game.h"

#include <cmath>

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

void projectionAfterReshape(int width, int height, GLfloat m[16]) {
    reshape(width, height);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
}

} // namespace

// A minimised window reports a height of 0: it is projected as one pixel high, with no
// division by zero and no error from OpenGL, and the viewport still follows the window.
TEST(Reshape, AWindowOfNoHeightIsProjectedAsOnePixelHigh) {
    GLfloat onePixel[16], none[16];
    projectionAfterReshape(800, 1, onePixel);
    while (glGetError() != GL_NO_ERROR) {
    }
    projectionAfterReshape(800, 0, none);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(std::isfinite(none[i]));
        EXPECT_EQ(none[i], onePixel[i]);
    }
    GLint viewport[4], mode = 0;
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 0);
    EXPECT_EQ(mode, GL_MODELVIEW);
    reshape(800, 600);
}
