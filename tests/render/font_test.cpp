// The raster font: text drawn into the back buffer and read back as pixels.
#include "render/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

// Drawn with lighting, a red colour, a dark blue texture and black fog on, as the frame may
// leave them, white text shows that none reaches the glyphs.
// Each letter lies in its 10-pixel cell, its glyph's bottom row 2 pixels under the baseline
// and the most significant bit leftmost. Lower case, digits, punctuation and bytes past 127
// have no glyph: they draw nothing and do not move on. A space leaves a blank cell.
TEST(RasterFont, DrawsEachLetterInWhiteAndOnlyLettersAndSpaceTakeACell) {
    constexpr int width = 800, height = 600;
    makeRasterFont();
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

    printString("ABCDEFGHIJKLM a1!~\x01\xc8NOPQRSTUVWXYZ", 100, 300);
    GLfloat raster[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    EXPECT_EQ(raster[0], 100 + 27 * 10);
    std::vector<GLubyte> expected(width * height * 3, 0); // red, green, blue, bottom row first
    for (int letter = 0; letter < 26; ++letter) {
        const int left = 100 + 10 * (letter < 13 ? letter : letter + 1); // N..Z after the space
        for (int row = 0; row < 13; ++row) {
            for (int bit = 0, at = 3 * ((298 + row) * width + left); bit < 8; ++bit) {
                const GLubyte lit = (glyphs[letter][row] >> (7 - bit) & 1) ? 255 : 0;
                std::fill_n(&expected[at + 3 * bit], 3, lit);
            }
        }
    }
    std::vector<GLubyte> drawn(expected.size());
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, drawn.data());
    EXPECT_TRUE(drawn == expected);
    EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
}
