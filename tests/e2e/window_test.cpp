// The window resized under the running game.
#include <chrono>

#include <gtest/gtest.h>

#include "tests/e2e/harness/harness.h"
#include "tests/e2e/scene.h"

using namespace scene;
using namespace std::chrono_literals;

namespace {

// The overlay is laid out for 800 x 600 and stretched with the window, while the glyphs
// keep their pixel size; the raster position may round either way by a pixel.
bool livesFits(const screenshot& s) {
    const int col = livesX * s.width / windowWidth;
    const int row = livesY * s.height / windowHeight;
    for (int dr = -1; dr <= 1; ++dr) {
        for (int dc = -1; dc <= 1; ++dc) {
            if (textMismatches(s, "LIVES", col + dc, row + dr, [](rgb p) {
                    return near(p, {255, 255, 255}, 2);
                }) == 0) {
                return true;
            }
        }
    }
    return false;
}

// The whole window shows the scene: ground in every corner, the player's cube at the
// centre, and the words in place.
bool drawnAt(const screenshot& s, int width, int height) {
    if (s.width != width || s.height != height) {
        return false;
    }
    for (auto [col, row] : {std::pair{width - 3, height - 3}, {width - 3, 80}, {80, height - 3}}) {
        const rgb p = s.at(col, row);
        if (!isGrey(p, 20, 255)) {
            return false;
        }
    }
    return isGreenTinted(s.at(width / 2, height / 2)) && livesFits(s);
}

} // namespace

TEST(Window, ResizedItKeepsRunningAndDrawsTheSceneStretchedToFit) {
    gameSession game(withTextures({}));
    ASSERT_TRUE(game.awaitFirstFrame());
    ASSERT_TRUE(drawnAt(game.shot(), windowWidth, windowHeight));

    for (auto [w, h] : {std::pair{640, 480}, {960, 700}, {500, 620}}) {
        game.resize(w, h);
        const screenshot s =
            game.awaitShot([w = w, h = h](const screenshot& x) { return drawnAt(x, w, h); }, 10s);
        EXPECT_TRUE(drawnAt(s, w, h)) << w << "x" << h;
        EXPECT_TRUE(game.running());
    }
    EXPECT_EQ(game.quit(), 0);
}
