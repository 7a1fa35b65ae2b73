// The ground grid, replayed from its display list in feedback mode.
#include "render/ground.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <utility>

#include "tests/support/feedback.h"

namespace {

constexpr worldBox aroundGrid{0, 0, 0, 1100, 1, 1100};
// At most two triangles a quad, each a token, a count and three vertices of 11 floats.
constexpr std::size_t gridFloats = 2 * 62250 * (2 + 3 * 11) + 64;

std::array<float, 4> current(GLenum what) {
    std::array<float, 4> v{};
    glGetFloatv(what, v.data());
    return v;
}

} // namespace

TEST(GroundList, BuildingRecordsTheGridWithoutDrawingIt) {
    glDisable(GL_LIGHTING);
    ground* built = nullptr;
    const feedbackCapture c = captureFeedback(aroundGrid, [&] { built = new ground(); });
    EXPECT_TRUE(c.complete);
    EXPECT_TRUE(c.polygons.empty());
    ASSERT_TRUE(glIsList(built->listId));
    delete built;
}

// 250 strips of 249 quads (125,000 vertices) tile x -1000..1000 and z -1000..992 once:
// the band from z 992 to 1000 stays bare. Every vertex is white at height 0 with the world's
// x and z as its texture coordinate.
TEST(GroundList, TilesEachEightUnitCellOnceWhiteWithWorldTextureCoordinates) {
    glDisable(GL_LIGHTING);
    ground grid;
    const feedbackCapture c = captureFeedback(
        aroundGrid, [&] { grid.draw(); }, gridFloats);
    ASSERT_TRUE(c.complete);
    std::map<std::pair<int, int>, float> cellArea;
    for (const auto& polygon : c.polygons) {
        const float n = static_cast<float>(polygon.size());
        float x = 0, z = 0, twiceArea = 0;
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const feedbackVertex& v = polygon[i];
            const feedbackVertex& next = polygon[(i + 1) % polygon.size()];
            ASSERT_NEAR(v.y, 0, 1e-2);
            ASSERT_NEAR(v.s, v.x, 1e-2);
            ASSERT_NEAR(v.t, v.z, 1e-2);
            ASSERT_TRUE(v.r == 1 && v.g == 1 && v.b == 1 && v.a == 1);
            x += v.x / n;
            z += v.z / n;
            twiceArea += v.x * next.z - next.x * v.z;
        }
        const auto cell = [](float c) { return static_cast<int>(std::floor(c / 8)) * 8; };
        cellArea[{cell(x), cell(z)}] += std::abs(twiceArea) / 2;
    }
    EXPECT_EQ(cellArea.size(), 250u * 249u);
    EXPECT_EQ(cellArea.begin()->first, std::make_pair(-1000, -1000));
    EXPECT_EQ(cellArea.rbegin()->first, std::make_pair(992, 984));
    for (const auto& [corner, area] : cellArea) {
        EXPECT_NEAR(area, 64, 0.5) << corner.first << ' ' << corner.second;
    }
}

// The models give no normals: they rely on the upward one the ground leaves current.
TEST(GroundList, ReplayLeavesWhiteTheUpwardNormalAndTheLastStripsFarCorner) {
    ground grid;
    glColor4f(1, 0, 0, 0.5f);
    glNormal3f(1, 0, 0);
    captureFeedback(
        aroundGrid, [&] { grid.draw(); }, gridFloats);
    EXPECT_EQ(current(GL_CURRENT_COLOR), (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_EQ(current(GL_CURRENT_NORMAL), (std::array<float, 4>{0, 1, 0, 0}));
    EXPECT_EQ(current(GL_CURRENT_TEXTURE_COORDS), (std::array<float, 4>{1000, 992, 0, 1}));
}
