// The raster font: text drawn into the back buffer and read back as pixels, and the state
// printString leaves behind.
#include "render/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int width = 800, height = 600;
using pixels = std::vector<GLubyte>; // the back buffer as red, green, blue, bottom row first

// Each test starts with lighting on, a red colour, a dark blue texture and fog that blacks
// out everything, as the frame may leave them: white text shows that none reaches the glyphs.
class RasterFont : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { makeRasterFont(); }
    void SetUp() override {
        glViewport(0, 0, width, height);
        const GLubyte darkBlue[3] = {0, 0, 80};
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, darkBlue);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glFogf(GL_FOG_START, 30); // past the end (linear fog): even the eye's own point is black
        glFogf(GL_FOG_END, 20);
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_FOG);
        glEnable(GL_LIGHTING);
        glColor3f(1, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override { EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR}); }

    static pixels readBack() {
        pixels rgb(width * height * 3);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }
    static float rasterX() {
        GLfloat position[4] = {};
        glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
        return position[0];
    }
};

} // namespace

// Each letter in its 10-pixel cell, its glyph's bottom row 2 pixels under the baseline and
// the most significant bit leftmost; nothing else is drawn.
TEST_F(RasterFont, EveryLetterDrawsItsGlyphInWhite) {
    printString("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 100, 300);
    EXPECT_EQ(rasterX(), 100 + 26 * 10);
    pixels expected(width * height * 3, 0);
    for (int letter = 0; letter < 26; ++letter) {
        for (int row = 0; row < 13; ++row) {
            for (int bit = 0, at = 3 * ((298 + row) * width + 100 + 10 * letter); bit < 8; ++bit) {
                const GLubyte lit = (glyphs[letter][row] >> (7 - bit) & 1) ? 255 : 0;
                std::fill_n(&expected[at + 3 * bit], 3, lit);
            }
        }
    }
    EXPECT_TRUE(readBack() == expected);
}

// Lower case, digits, punctuation and bytes past 127 have no glyph: they draw nothing and
// do not move on. A space leaves a blank 10-pixel cell.
TEST_F(RasterFont, OnlyLettersAndSpaceTakeACell) {
    printString("Aa1!~\x01\xc8 B", 100, 300);
    EXPECT_EQ(rasterX(), 130);
    const pixels mixed = readBack();
    glClear(GL_COLOR_BUFFER_BIT);
    printString("A", 100, 300);
    printString("B", 120, 300);
    EXPECT_TRUE(readBack() == mixed);
}

// Texturing and fog come back, but GL_PROJECTION is left selected and lighting on.
TEST_F(RasterFont, LeavesProjectionSelectedAndLightingTexturingAndFogOn) {
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_MODELVIEW);
    printString("LIVES", 5, 550);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_TEXTURE_2D) && glIsEnabled(GL_FOG));
}
