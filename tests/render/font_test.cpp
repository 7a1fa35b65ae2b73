// The raster font: text drawn by printString into the back buffer and read back as pixels,
// and the OpenGL state printString leaves behind.
#include "render/font.h"

#include <GL/gl.h>
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace {

constexpr int screenWidth = 800;
constexpr int screenHeight = 600;
constexpr int glyphWidth = 8;
constexpr int glyphHeight = 13;
constexpr int cell = 10;     // pixels from one letter's start to the next
constexpr int belowBase = 2; // rows under the baseline

// "LIVES" and "SCORE" as they must appear, top row first, two blank pixels between
// letters; the last two rows lie under the baseline.
const std::vector<std::string> livesPicture = {
    "##......  .######.  ##....##  ########  .######.",
    "##......  ...##...  ##....##  ##......  ###..###",
    "##......  ...##...  ##....##  ##......  ##......",
    "##......  ...##...  ##....##  ##......  ##......",
    "##......  ...##...  ##....##  ##......  ###.....",
    "##......  ...##...  ##....##  ######..  .######.",
    "##......  ...##...  .##..##.  ##......  .....###",
    "##......  ...##...  .##..##.  ##......  ......##",
    "##......  ...##...  ..####..  ##......  ......##",
    "##......  ...##...  ..####..  ##......  ###..###",
    "########  .######.  ...##...  ########  .######.",
    "........  ........  ........  ........  ........",
    "........  ........  ........  ........  ........",
};

const std::vector<std::string> scorePicture = {
    ".######.  .######.  .######.  #######.  ########",
    "###..###  ###..###  ###..###  ##...###  ##......",
    "##......  ##......  ##....##  ##....##  ##......",
    "##......  ##......  ##....##  ##....##  ##......",
    "###.....  ##......  ##....##  ##...###  ##......",
    ".######.  ##......  ##....##  #######.  ######..",
    ".....###  ##......  ##....##  ####....  ##......",
    "......##  ##......  ##....##  ##.##...  ##......",
    "......##  ##......  ##....##  ##..##..  ##......",
    "###..###  ###..###  ###..###  ##...##.  ##......",
    ".######.  .######.  .######.  ##....##  ########",
    "........  ........  ........  ........  ........",
    "........  ........  ........  ........  ........",
};

// The back buffer as read back, bottom row first, three bytes a pixel.
class screenshot {
  public:
    screenshot() : pixels(static_cast<std::size_t>(screenWidth * screenHeight * 3)) {
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, screenWidth, screenHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    }

    bool white(int x, int y) const { return pixel(x, y) == std::array<int, 3>{255, 255, 255}; }
    bool black(int x, int y) const { return pixel(x, y) == std::array<int, 3>{0, 0, 0}; }

    bool operator==(const screenshot& o) const { return pixels == o.pixels; }

    std::size_t whiteCount() const {
        std::size_t n = 0;
        for (int y = 0; y < screenHeight; ++y) {
            for (int x = 0; x < screenWidth; ++x) {
                n += white(x, y) ? 1 : 0;
            }
        }
        return n;
    }

  private:
    std::array<int, 3> pixel(int x, int y) const {
        const std::size_t i = static_cast<std::size_t>((y * screenWidth + x) * 3);
        return {pixels[i], pixels[i + 1], pixels[i + 2]};
    }

    std::vector<GLubyte> pixels;
};

// A picture whose bottom-left pixel lies at (left, bottom): '#' must be white, '.' and
// ' ' black.
void expectPicture(const screenshot& shot, const std::vector<std::string>& picture, int left,
                   int bottom) {
    const int rows = static_cast<int>(picture.size());
    for (int r = 0; r < rows; ++r) {
        const std::string& line = picture[static_cast<std::size_t>(r)];
        const int y = bottom + rows - 1 - r;
        for (int c = 0; c < static_cast<int>(line.size()); ++c) {
            const bool set = line[static_cast<std::size_t>(c)] == '#';
            EXPECT_TRUE(set ? shot.white(left + c, y) : shot.black(left + c, y))
                << "pixel (" << left + c << ", " << y << ") should be "
                << (set ? "white" : "black");
        }
    }
}

std::size_t setPixels(const std::vector<std::string>& picture) {
    std::size_t n = 0;
    for (const std::string& line : picture) {
        n += static_cast<std::size_t>(std::count(line.begin(), line.end(), '#'));
    }
    return n;
}

std::array<GLfloat, 4> rasterPosition() {
    std::array<GLfloat, 4> p{};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, p.data());
    return p;
}

std::array<GLfloat, 16> matrix(GLenum which) {
    std::array<GLfloat, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

// Each test starts from a black back buffer, with lighting on and a red current colour,
// so that white text proves printString set its own colour and switched lighting off.
class RasterFont : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { makeRasterFont(); }

    void SetUp() override {
        ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), screenWidth);
        ASSERT_EQ(glutGet(GLUT_WINDOW_HEIGHT), screenHeight);
        glViewport(0, 0, screenWidth, screenHeight);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_FOG);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glEnable(GL_LIGHTING);
        glColor3f(1, 0, 0);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDrawBuffer(GL_BACK);
        clear();
    }

    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    static void clear() {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // What a string draws at a fixed point, on a freshly cleared buffer.
    static screenshot drawn(const char* text) {
        clear();
        printString(text, 100, 300);
        return screenshot();
    }
};

} // namespace

// Only the letters and the space have a list that draws and moves the raster position;
// every other 7-bit code leaves it where it was.
TEST_F(RasterFont, OnlyLettersAndSpaceAdvanceTheRasterPosition) {
    for (int code = 1; code < 128; ++code) {
        const char text[] = {static_cast<char>(code), '\0'};
        printString(text, 100, 300);
        const bool hasGlyph = code == ' ' || (code >= 'A' && code <= 'Z');
        EXPECT_EQ(rasterPosition()[0], hasGlyph ? 100 + cell : 100) << "code " << code;
    }
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1);
}

// The overlay as the frame draws it: 5 pixels from the left, "SCORE" 20 above "LIVES",
// each glyph's bottom two rows under the baseline.
TEST_F(RasterFont, LivesAndScoreAreDrawnWhiteAsTheirPicturesWhateverTheColourAndLighting) {
    printString("LIVES", 5, 550);
    printString("SCORE", 5, 570);
    const screenshot shot;
    expectPicture(shot, livesPicture, 5, 550 - belowBase);
    expectPicture(shot, scorePicture, 5, 570 - belowBase);
    EXPECT_EQ(shot.whiteCount(), setPixels(livesPicture) + setPixels(scorePicture))
        << "nothing is drawn outside the two words";
}

// Every letter's list draws that letter's rows of the table: the bottom row first, the
// most significant bit leftmost, in its own 10-pixel cell.
TEST_F(RasterFont, EveryLetterDrawsItsGlyphFromTheTable) {
    const screenshot shot = drawn("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    for (int letter = 0; letter < 26; ++letter) {
        for (int row = 0; row < glyphHeight; ++row) {
            for (int bit = 0; bit < glyphWidth; ++bit) {
                const bool set = (glyphs[letter][row] >> (7 - bit)) & 1;
                const int x = 100 + letter * cell + bit;
                const int y = 300 - belowBase + row;
                EXPECT_TRUE(set ? shot.white(x, y) : shot.black(x, y))
                    << static_cast<char>('A' + letter) << " row " << row << " bit " << bit;
            }
        }
    }
    const std::array<GLfloat, 4> after = rasterPosition();
    EXPECT_EQ(after[0], 100 + 26 * cell);
    EXPECT_EQ(after[1], 300);
}

TEST_F(RasterFont, CharactersWithoutAGlyphDrawNothingAndDoNotAdvance) {
    const screenshot plain = drawn("AB");
    EXPECT_GT(plain.whiteCount(), 0u);
    EXPECT_TRUE(drawn("Aa1b!~B") == plain);
    EXPECT_EQ(rasterPosition()[0], 100 + 2 * cell);
}

// A byte above 127 would name a list beyond the font's 128; one is planted there to show
// that it is never called.
TEST_F(RasterFont, BytesAbove127AreSkippedLikeCharactersWithoutAGlyph) {
    const GLuint beyond = fontOffset + 200;
    ASSERT_FALSE(glIsList(beyond));
    glNewList(beyond, GL_COMPILE);
    const GLubyte blank = 0;
    glBitmap(1, 1, 0, 0, 100, 0, &blank);
    glEndList();

    const screenshot plain = drawn("AB");
    EXPECT_TRUE(drawn("A\xc8"
                      "B\xff") == plain);
    EXPECT_EQ(rasterPosition()[0], 100 + 2 * cell);
    glDeleteLists(beyond, 1);
}

TEST_F(RasterFont, SpaceLeavesABlankTenPixelCell) {
    const screenshot spaced = drawn("A B");
    EXPECT_EQ(rasterPosition()[0], 100 + 3 * cell);
    const screenshot joined = drawn("AB");
    for (int y = 300 - belowBase; y < 300 - belowBase + glyphHeight; ++y) {
        for (int x = 0; x < glyphWidth; ++x) {
            EXPECT_EQ(spaced.white(100 + x, y), joined.white(100 + x, y));
            EXPECT_TRUE(spaced.black(100 + cell + x, y));
            EXPECT_EQ(spaced.white(100 + 2 * cell + x, y), joined.white(100 + cell + x, y));
        }
    }
}

// The caller's matrices and list base come back; lighting ends on and GL_PROJECTION
// selected whatever they were, and the colour stays white. An empty string draws nothing.
TEST_F(RasterFont, LeavesProjectionSelectedLightingOnAndTheCallersMatricesAndListBase) {
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glTranslatef(1, 2, 3);
    glMatrixMode(GL_MODELVIEW);
    glScalef(2, 3, 4);
    glListBase(7);
    const auto projection = matrix(GL_PROJECTION_MATRIX);
    const auto modelview = matrix(GL_MODELVIEW_MATRIX);

    for (const char* text : {"", "LIVES"}) {
        printString(text, 5, 550);
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_PROJECTION) << '"' << text << '"';
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << '"' << text << '"';
        EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), projection);
        EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), modelview);
        GLint base = 0;
        glGetIntegerv(GL_LIST_BASE, &base);
        EXPECT_EQ(base, 7);
        std::array<GLfloat, 4> colour{};
        glGetFloatv(GL_CURRENT_COLOR, colour.data());
        EXPECT_EQ(colour, (std::array<GLfloat, 4>{1, 1, 1, 1}));
        if (*text == '\0') {
            EXPECT_EQ(screenshot().whiteCount(), 0u);
        }
        glDisable(GL_LIGHTING);
        glMatrixMode(GL_MODELVIEW);
    }
}

// The start point lives in an 800x600 space stretched over the viewport; the glyphs keep
// their 8x13 pixels and their 10-pixel advance.
TEST_F(RasterFont, AHalfSizeViewportHalvesTheStartPointButNotTheGlyphs) {
    glViewport(0, 0, screenWidth / 2, screenHeight / 2);
    printString("LIVES", 100, 200);
    const screenshot shot;
    expectPicture(shot, livesPicture, 50, 100 - belowBase);
    EXPECT_EQ(rasterPosition()[0], 50 + 5 * cell);
}
