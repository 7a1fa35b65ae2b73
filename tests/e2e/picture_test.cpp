// The picture the game draws, checked against what its camera, light, fog and overlay
// make of the start position. Without textures every colour follows from the constants.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "tests/e2e/harness/harness.h"
#include "tests/e2e/scene.h"

using namespace scene;

namespace {

const rgb white = {255, 255, 255};

// The player's cube top: its corners' light, fogged at its own depth.
std::pair<double, double> cubeTopGreen() {
    const double top = shipCentre + shipHalf;
    double lo = 1, hi = 0;
    for (double dX : {-shipHalf, shipHalf}) {
        for (double dZ : {-shipHalf, shipHalf}) {
            lo = std::min(lo, lightAt(dX, dZ, top));
            hi = std::max(hi, lightAt(dX, dZ, top));
        }
    }
    const double fog = fogFactor(eyeHeight - top, fogAtLaunch) * 255;
    return {lo * fog, hi * fog};
}

} // namespace

TEST(Overlay, LivesAndScoreMatchTheGlyphTableAtTheirPlaces) {
    gameSession game(withTextures({}));
    ASSERT_TRUE(game.awaitFirstFrame());
    const screenshot s = game.shot();
    const auto isWhite = [](rgb p) { return near(p, white, 2); };

    EXPECT_EQ(textMismatches(s, "LIVES", livesX, livesY, isWhite), 0);
    EXPECT_EQ(textMismatches(s, "SCORE", scoreX, scoreY, isWhite), 0);
    // One pixel off in any direction no longer fits: the places are exact.
    for (auto [dc, dr] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        EXPECT_GT(textMismatches(s, "LIVES", livesX + dc, livesY + dr, isWhite), 10);
    }
    // Every presented picture is a whole frame: a frame shown in two swaps would leave
    // the words out of about half of them.
    int whole = 0;
    for (int i = 0; i < 100; ++i) {
        whole += textMismatches(game.shot(), "SCORE", scoreX, scoreY, isWhite) == 0 ? 1 : 0;
    }
    EXPECT_EQ(whole, 100);
    EXPECT_EQ(game.quit(), 0);
}

TEST(Overlay, TexturedWordsStandOutFromTheFoggedGroundInTheirGlyphShapes) {
    gameSession game(withTextures(textureFiles));
    ASSERT_TRUE(game.awaitFirstFrame());
    const screenshot s = game.shot();
    // Texturing stays on for the overlay, so the white takes a texture's colours; the
    // ground beneath cannot outshine fog times light, whatever its texels.
    const auto isInk = [](rgb p) {
        const double groundAtMost = fogFactor(eyeHeight, fogAtLaunch) * 255;
        return std::max({p.r, p.g, p.b}) > groundAtMost + 10;
    };

    EXPECT_EQ(textMismatches(s, "LIVES", livesX, livesY, isInk), 0);
    EXPECT_EQ(textMismatches(s, "SCORE", scoreX, scoreY, isInk), 0);
    EXPECT_EQ(game.quit(), 0);
}

TEST(Picture, PlayerCubeIsTranslucentGreenOverTheGroundAtTheCentre) {
    gameSession game(withTextures({}));
    ASSERT_TRUE(game.awaitFirstFrame());
    const screenshot s = game.shot();
    const double top = shipCentre + shipHalf;
    const auto [greenLo, greenHi] = cubeTopGreen();

    // Inside the top face: 0.4 of its lit green over 0.6 of the ground beneath.
    const windowPoint a = project(-shipHalf * 0.7, -shipHalf * 0.7, top);
    const windowPoint b = project(shipHalf * 0.7, shipHalf * 0.7, top);
    int checked = 0;
    for (int row = static_cast<int>(b.row); row <= static_cast<int>(a.row); ++row) {
        for (int col = static_cast<int>(a.col); col <= static_cast<int>(b.col); ++col) {
            const auto [groundLo, groundHi] = bareGround(col, row, 0, 0, fogAtLaunch);
            const double under = 1 - playerAlpha;
            const rgb p = s.at(col, row);
            ASSERT_GE(p.r, under * groundLo - 3) << col << "," << row;
            ASSERT_LE(p.r, under * groundHi + 3) << col << "," << row;
            ASSERT_NEAR(p.b, p.r, 2) << col << "," << row;
            ASSERT_GE(p.g, playerAlpha * greenLo + under * groundLo - 3) << col << "," << row;
            ASSERT_LE(p.g, playerAlpha * greenHi + under * groundHi + 3) << col << "," << row;
            ++checked;
        }
    }
    EXPECT_GT(checked, 200);

    // Just outside its edges the ground shows plain grey.
    for (auto [dX, dZ] : {std::pair{0.0, 0.65}, {0.0, -0.65}, {0.65, 0.0}, {-0.65, 0.0}}) {
        const windowPoint q = project(dX, dZ, top);
        const rgb p = s.at(static_cast<int>(q.col), static_cast<int>(q.row));
        EXPECT_FALSE(isGreenTinted(p)) << dX << "," << dZ;
        EXPECT_TRUE(isGrey(p, 0, 255)) << dX << "," << dZ;
    }
    EXPECT_EQ(game.quit(), 0);
}

TEST(Picture, BareGroundIsFoggedAndLitFromAheadOfTheCamera) {
    gameSession game(withTextures({}));
    ASSERT_TRUE(game.awaitFirstFrame());
    const screenshot s = game.shot();

    int samples = 0, fitting = 0;
    double darkest = 255, brightest = 0;
    for (int row = 5; row < s.height; row += 20) {
        for (int col = 5; col < s.width; col += 20) {
            const bool overlay = row < 70 && col < 70;
            const bool player = std::abs(row - 300) < 30 && std::abs(col - 400) < 30;
            if (overlay || player) {
                continue;
            }
            const auto [lo, hi] = bareGround(col, row, 0, 0, fogAtLaunch);
            const rgb p = s.at(col, row);
            ++samples;
            if (isGrey(p, static_cast<int>(lo) - 3, static_cast<int>(hi) + 3)) {
                ++fitting;
                darkest = std::min(darkest, static_cast<double>(p.g));
                brightest = std::max(brightest, static_cast<double>(p.g));
            }
        }
    }
    // The enemy and the wingman cover a few samples.
    EXPECT_GE(fitting, samples * 97 / 100) << fitting << " of " << samples;
    // Fog leaves 0.4 of even the best-lit ground; the far corners get less light.
    EXPECT_NEAR(brightest, fogFactor(eyeHeight, fogAtLaunch) * 255, 3);
    EXPECT_LT(darkest, brightest * 0.75);
    EXPECT_EQ(game.quit(), 0);
}
