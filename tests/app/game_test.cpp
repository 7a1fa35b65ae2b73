#include "app/game.h"

#include <array>

#include <GL/gl.h>
#include <gtest/gtest.h>

// A minimised window reports a height of 0: it is projected as if one pixel high, with no
// division by zero, and the viewport still follows the window.
TEST(Reshape, AWindowOfNoHeightIsProjectedAsOnePixelHigh) {
    std::array<GLfloat, 16> onePixel{}, none{};
    reshape(800, 1);
    glGetFloatv(GL_PROJECTION_MATRIX, onePixel.data());
    reshape(800, 0);
    glGetFloatv(GL_PROJECTION_MATRIX, none.data());
    EXPECT_EQ(none, onePixel);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 0);
    reshape(800, 600);
}
