// The raster font: text drawn into the back buffer and read back as pixels, and the state
// printString leaves behind.
#include "render/font.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

constexpr int width = 800, height = 600;
constexpr GLuint white = 0xffffffu;

// Each test starts with lighting on, a red current colour, a dark blue texture and fog
// that blacks out everything, as the frame may leave them: white text shows that none of
// them reaches the glyphs.
class RasterFont : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        makeRasterFont();
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        const GLubyte darkBlue[3] = {0, 0, 80};
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, darkBlue);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_START, 30); // a start past the end fogs even the eye's own point
        glFogf(GL_FOG_END, 20);
    }

    void SetUp() override {
        glViewport(0, 0, width, height);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_FOG);
        glDisable(GL_BLEND);
        glEnable(GL_LIGHTING);
        glColor3f(1, 0, 0);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override { EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR}); }

    // The back buffer as 0xRRGGBB, bottom row first.
    static std::vector<GLuint> readBack() {
        std::vector<GLubyte> rgb(width * height * 3);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        std::vector<GLuint> pixels(width * height);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            pixels[i] = rgb[3 * i] << 16 | rgb[3 * i + 1] << 8 | rgb[3 * i + 2];
        }
        return pixels;
    }

    static std::vector<GLuint> drawn(const char* text) {
        glClear(GL_COLOR_BUFFER_BIT);
        printString(text, 100, 300);
        return readBack();
    }

    static float rasterX() {
        std::array<float, 4> p{};
        glGetFloatv(GL_CURRENT_RASTER_POSITION, p.data());
        return p[0];
    }
};

} // namespace

// Each letter in its 10-pixel cell, its glyph's bottom row 2 pixels under the baseline
// and the most significant bit leftmost; nothing else is drawn.
TEST_F(RasterFont, EveryLetterDrawsItsGlyphInWhite) {
    const std::vector<GLuint> pixels = drawn("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    std::vector<GLuint> expected(width * height, 0);
    for (int letter = 0; letter < 26; ++letter) {
        for (int row = 0; row < 13; ++row) {
            for (int bit = 0; bit < 8; ++bit) {
                const int x = 100 + 10 * letter + bit, y = 298 + row;
                expected[y * width + x] = (glyphs[letter][row] >> (7 - bit) & 1) ? white : 0;
            }
        }
    }
    EXPECT_TRUE(pixels == expected);
    EXPECT_EQ(rasterX(), 100 + 26 * 10);
}

// Lower case, digits and punctuation have no glyph: they draw nothing and do not move on.
// A byte above 127 would name a list past the font's 128: one planted there must not run.
// A space leaves a blank 10-pixel cell.
TEST_F(RasterFont, OnlyLettersAndSpaceTakeACell) {
    const GLuint beyondFont = fontOffset + 200;
    ASSERT_FALSE(glIsList(beyondFont));
    glNewList(beyondFont, GL_COMPILE);
    const GLubyte dot = 0x80;
    glBitmap(1, 1, 0, 0, 100, 0, &dot);
    glEndList();

    const std::vector<GLuint> pixels = drawn("Aa1!~\xc8 \x01"
                                             "B");
    EXPECT_EQ(rasterX(), 130);
    glDeleteLists(beyondFont, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    printString("A", 100, 300);
    printString("B", 120, 300);
    EXPECT_TRUE(pixels == readBack());
}

// The caller's matrices, list base, texturing and fog come back; GL_PROJECTION is left
// selected, lighting on and the colour white. An empty string draws nothing.
TEST_F(RasterFont, RestoresMatricesAndListBaseAndLeavesProjectionSelectedAndLightingOn) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glScalef(2, 3, 4);
    glListBase(7);
    std::array<float, 32> matrices{};
    glGetFloatv(GL_PROJECTION_MATRIX, matrices.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, matrices.data() + 16);

    for (const char* text : {"LIVES", ""}) {
        glDisable(GL_LIGHTING);
        glMatrixMode(GL_MODELVIEW);
        const std::vector<GLuint> pixels = drawn(text);
        std::array<float, 32> after{};
        glGetFloatv(GL_PROJECTION_MATRIX, after.data());
        glGetFloatv(GL_MODELVIEW_MATRIX, after.data() + 16);
        EXPECT_EQ(after, matrices);
        GLint mode = 0, base = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        glGetIntegerv(GL_LIST_BASE, &base);
        EXPECT_EQ(mode, GL_PROJECTION);
        EXPECT_EQ(base, 7);
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_TEXTURE_2D) && glIsEnabled(GL_FOG));
        std::array<float, 4> colour{};
        glGetFloatv(GL_CURRENT_COLOR, colour.data());
        EXPECT_EQ(colour, (std::array<float, 4>{1, 1, 1, 1}));
        EXPECT_EQ(*text == '\0', pixels == std::vector<GLuint>(width * height, 0));
    }
}
