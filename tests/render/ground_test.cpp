// The ground grid, replayed from its display list in feedback mode.
#include "render/ground.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "tests/support/feedback.h"

// 250 strips of 249 quads (125,000 vertices) tile x -1000..1000 and z -1000..992 once: the
// band from z 992 to 1000 stays bare. Each vertex is white at height 0, with the world's x
// and z as its texture coordinate. Building the list draws nothing.
TEST(GroundList, TilesEachEightUnitCellOnceInWhiteWithWorldTextureCoordinates) {
    constexpr worldBox around{0, 0, 0, 1100};
    constexpr std::size_t floats = 2 * 62250 * (2 + 3 * 11) + 64; // two triangles a quad
    glDisable(GL_LIGHTING);
    ground* grid = nullptr;
    const feedbackCapture built = captureFeedback(around, [&] { grid = new ground(); });
    EXPECT_TRUE(built.complete && built.polygons.empty());
    glColor4f(1, 0, 0, 0.5f);
    const feedbackCapture c = captureFeedback(
        around, [&] { grid->draw(); }, floats);
    delete grid;
    ASSERT_TRUE(c.complete);
    std::map<std::pair<long, long>, float> cellArea;
    for (const auto& polygon : c.polygons) {
        float x = 1e9f, z = 1e9f, twiceArea = 0; // a cell's triangles share its lowest corner
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const feedbackVertex &v = polygon[i], &next = polygon[(i + 1) % polygon.size()];
            ASSERT_TRUE(std::abs(v.y) < 1e-2f && std::abs(v.s - v.x) < 1e-2f &&
                        std::abs(v.t - v.z) < 1e-2f && v.r + v.g + v.b + v.a == 4);
            x = std::min(x, v.x);
            z = std::min(z, v.z);
            twiceArea += v.x * next.z - next.x * v.z;
        }
        cellArea[{std::lround(x), std::lround(z)}] += std::abs(twiceArea) / 2;
    }
    EXPECT_EQ(cellArea.size(), 250u * 249u);
    EXPECT_EQ(cellArea.begin()->first, std::make_pair(-1000L, -1000L));
    EXPECT_EQ(cellArea.rbegin()->first, std::make_pair(992L, 984L));
    for (const auto& [corner, area] : cellArea) {
        EXPECT_NEAR(area, 64, 0.5) << corner.first << ' ' << corner.second;
    }
}
