// The ground grid, replayed from its display list in feedback mode and mapped back to
// world space.
#include "render/ground.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "tests/support/feedback.h"

namespace {

constexpr float tolerance = 1e-2f; // world units; a window pixel is 2.75 units here
constexpr int cellSize = 8;
constexpr int stripCount = 250;
constexpr int quadsPerStrip = 249;

// The whole grid with room to spare; height 0 sits in the middle of the depth range.
constexpr worldBox groundBox{0, 0, 0, 1100, 1, 1100};
// Up to two triangles a quad, each a token, a count and three vertices of 11 floats.
constexpr std::size_t groundFeedbackFloats = 2 * 62250 * (2 + 3 * 11) + 1024;

float area(const feedbackPrimitive& p) {
    float twice = 0;
    for (std::size_t i = 0; i < p.vertices.size(); ++i) {
        const feedbackVertex& a = p.vertices[i];
        const feedbackVertex& b = p.vertices[(i + 1) % p.vertices.size()];
        twice += a.x * b.z - b.x * a.z;
    }
    return std::fabs(twice) / 2;
}

// The grid cell (the x and z of its low corner) that a primitive lies in.
std::pair<int, int> cellOf(const feedbackPrimitive& p) {
    float x = 0, z = 0;
    for (const feedbackVertex& v : p.vertices) {
        x += v.x / static_cast<float>(p.vertices.size());
        z += v.z / static_cast<float>(p.vertices.size());
    }
    const auto snap = [](float c) { return static_cast<int>(std::floor(c / cellSize)) * cellSize; };
    return {snap(x), snap(z)};
}

std::array<GLfloat, 4> currentValue(GLenum name) {
    std::array<GLfloat, 4> v{};
    glGetFloatv(name, v.data());
    return v;
}

class GroundList : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { grid = new ground(); }
    static void TearDownTestSuite() {
        delete grid;
        grid = nullptr;
    }

    void SetUp() override {
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_FOG);
    }

    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    static feedbackCapture replay() {
        feedbackCapture c = captureFeedback(
            groundBox, [] { grid->draw(); }, groundFeedbackFloats);
        EXPECT_FALSE(c.overflowed);
        return c;
    }

    static ground* grid;
};

ground* GroundList::grid = nullptr;

} // namespace

// The list is built once; building it draws nothing.
TEST_F(GroundList, BuildingRecordsTheGridWithoutDrawingIt) {
    ground* built = nullptr;
    const feedbackCapture c = captureFeedback(groundBox, [&] { built = new ground(); });
    EXPECT_FALSE(c.overflowed);
    EXPECT_TRUE(c.primitives.empty());
    EXPECT_TRUE(glIsList(built->listId));
    EXPECT_NE(built->listId, grid->listId);
    glDeleteLists(built->listId, 1);
    delete built;
}

// 250 strips of 249 quads, 8 units square, cover x -1000..1000 and z -1000..992 once each:
// 250 strips of 250 vertex pairs, 125,000 vertices.
TEST_F(GroundList, CoversEachEightUnitCellOnceWithTheFarBandInZLeftBare) {
    const feedbackCapture c = replay();
    ASSERT_FALSE(c.primitives.empty());

    std::map<std::pair<int, int>, float> cellArea;
    for (const feedbackPrimitive& p : c.primitives) {
        ASSERT_EQ(p.token, static_cast<GLenum>(GL_POLYGON_TOKEN));
        cellArea[cellOf(p)] += area(p);
    }
    std::set<int> strips;
    for (const auto& [cell, covered] : cellArea) {
        EXPECT_NEAR(covered, cellSize * cellSize, 0.5f) << cell.first << ' ' << cell.second;
        EXPECT_GE(cell.first, -1000);
        EXPECT_LT(cell.first, 1000);
        EXPECT_GE(cell.second, -1000);
        EXPECT_LT(cell.second, 992) << "the band from z 992 to 1000 has no ground";
        strips.insert(cell.first);
    }
    EXPECT_EQ(strips.size(), static_cast<std::size_t>(stripCount));
    ASSERT_EQ(cellArea.size(), static_cast<std::size_t>(stripCount * quadsPerStrip));
    const std::size_t vertexPairsPerStrip = cellArea.size() / strips.size() + 1;
    EXPECT_EQ(strips.size() * vertexPairsPerStrip * 2, 125000u);
}

// White at height 0, with texture coordinates equal to the world's x and z, so the
// repeating texture is laid once per world unit.
TEST_F(GroundList, VerticesAreWhiteAtHeightZeroWithWorldTextureCoordinates) {
    const feedbackCapture c = replay();
    for (const feedbackPrimitive& p : c.primitives) {
        for (const feedbackVertex& v : p.vertices) {
            ASSERT_NEAR(v.y, 0, tolerance);
            ASSERT_NEAR(v.s, v.x, tolerance);
            ASSERT_NEAR(v.t, v.z, tolerance);
            ASSERT_EQ(v.r, 1);
            ASSERT_EQ(v.g, 1);
            ASSERT_EQ(v.b, 1);
        }
    }
}

// The models give no normals and rely on the upward one that the ground leaves current.
TEST_F(GroundList, ReplayLeavesWhiteTheUpwardNormalAndTheLastTextureCoordinate) {
    glColor4f(1, 0, 0, 0.5f);
    glNormal3f(1, 0, 0);
    glTexCoord2f(0, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, 1e6f); // far outside the view: only the current values matter
    grid->draw();
    EXPECT_EQ(currentValue(GL_CURRENT_COLOR), (std::array<GLfloat, 4>{1, 1, 1, 1}));
    const auto normal = currentValue(GL_CURRENT_NORMAL);
    EXPECT_EQ(normal[0], 0);
    EXPECT_EQ(normal[1], 1);
    EXPECT_EQ(normal[2], 0);
    EXPECT_EQ(currentValue(GL_CURRENT_TEXTURE_COORDS), (std::array<GLfloat, 4>{1000, 992, 0, 1}));
}

TEST_F(GroundList, ReplayingTwiceDrawsTheSameGridTwice) {
    const feedbackCapture once = replay();
    const feedbackCapture twice = captureFeedback(
        groundBox,
        [] {
            grid->draw();
            grid->draw();
        },
        2 * groundFeedbackFloats);
    ASSERT_FALSE(twice.overflowed);
    EXPECT_EQ(twice.vertexCount(), 2 * once.vertexCount());
}
