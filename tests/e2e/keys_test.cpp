// Keys typed into the running game's window, and what each one visibly does.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/harness/harness.h"
#include "tests/e2e/scene.h"

using namespace scene;
using namespace std::chrono_literals;

namespace {

// Ground sample points spread over the window, clear of the overlay and of the player's
// cube at the centre.
std::vector<std::pair<int, int>> groundSamples(const screenshot& s) {
    std::vector<std::pair<int, int>> out;
    for (int row = 10; row < s.height; row += 15) {
        for (int col = 10; col < s.width; col += 15) {
            const bool overlay = row < 70 && col < 70;
            const bool player =
                std::abs(row - s.height / 2) < 30 && std::abs(col - s.width / 2) < 30;
            if (!overlay && !player) {
                out.emplace_back(col, row);
            }
        }
    }
    return out;
}

// How much brighter the ground is in b than in a, as the median over the samples; the
// moving ships spoil a few samples, which the median ignores.
double brightnessRatio(const screenshot& a, const screenshot& b) {
    std::vector<double> ratios;
    for (auto [col, row] : groundSamples(a)) {
        const rgb p = a.at(col, row);
        const rgb q = b.at(col, row);
        const int before = p.r + p.g + p.b;
        if (before >= 90) {
            ratios.push_back(static_cast<double>(q.r + q.g + q.b) / before);
        }
    }
    if (ratios.empty()) {
        return 0;
    }
    std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
    return ratios[ratios.size() / 2];
}

double clearShare(const screenshot& s) {
    int clear = 0, seen = 0;
    for (int row = 0; row < s.height; row += 4) {
        for (int col = 0; col < s.width; col += 4) {
            clear += isClearColour(s.at(col, row)) ? 1 : 0;
            ++seen;
        }
    }
    return seen == 0 ? 0 : static_cast<double>(clear) / seen;
}

// Where the wireframe grid's lines cross the middle of the window: columns (vertical
// lines, constant world Z) or rows (horizontal lines, constant world X) along which
// nearly every pixel is something other than the clear colour.
std::vector<double> gridLines(const screenshot& s, bool vertical) {
    const int lines = vertical ? s.width : s.height;
    const int across = vertical ? s.height : s.width;
    std::vector<double> found;
    int runStart = -1;
    for (int i = 0; i <= lines; ++i) {
        bool isLine = false;
        if (i < lines) {
            int drawn = 0, seen = 0;
            for (int j = across / 6; j < across * 5 / 6; ++j) {
                const rgb p = vertical ? s.at(i, j) : s.at(j, i);
                drawn += isClearColour(p) ? 0 : 1;
                ++seen;
            }
            isLine = drawn > seen * 8 / 10;
        }
        if (isLine && runStart < 0) {
            runStart = i;
        } else if (!isLine && runStart >= 0) {
            found.push_back((runStart + i - 1) / 2.0);
            runStart = -1;
        }
    }
    return found;
}

// How far the grid moved from a to b, in pixels, as the median over lines matched to
// their nearest neighbour; lines lie over 100 pixels apart, so a move of less than half
// of that is unambiguous. Nothing if no line could be matched.
std::optional<double> gridShift(const screenshot& a, const screenshot& b, bool vertical) {
    const auto from = gridLines(a, vertical);
    const auto to = gridLines(b, vertical);
    std::vector<double> moves;
    for (double f : from) {
        double best = 1e9;
        for (double t : to) {
            if (std::abs(t - f) < std::abs(best)) {
                best = t - f;
            }
        }
        if (std::abs(best) < 50) {
            moves.push_back(best);
        }
    }
    if (moves.empty()) {
        return std::nullopt;
    }
    std::nth_element(moves.begin(), moves.begin() + moves.size() / 2, moves.end());
    return moves[moves.size() / 2];
}

// Pixels of a flying projectile, untextured: grey 0.5 under the light at flight height,
// never fogged so close to the eye; the ground behind is brighter once the fog is pushed
// back.
bool isProjectileGrey(rgb p) {
    const int grey = static_cast<int>(0.5 * lightAt(0, 0, projectileHeight) * 255);
    return isGrey(p, grey - 12, grey + 12);
}

struct projectilePixels {
    int grey = 0;
    double meanCol = 0, meanRow = 0;
    int finsBesideGrey = 0; // red pixels within 3 of a grey one: only a missile has them
};

projectilePixels findProjectiles(const screenshot& s) {
    projectilePixels out;
    for (int row = 0; row < s.height; ++row) {
        for (int col = 0; col < s.width; ++col) {
            const rgb p = s.at(col, row);
            if (isProjectileGrey(p)) {
                ++out.grey;
                out.meanCol += col;
                out.meanRow += row;
            } else if (p.r > 120 && p.g < 40 && p.b < 40) {
                bool beside = false;
                for (int r = std::max(0, row - 3); r <= std::min(s.height - 1, row + 3); ++r) {
                    for (int c = std::max(0, col - 3); c <= std::min(s.width - 1, col + 3); ++c) {
                        beside = beside || isProjectileGrey(s.at(c, r));
                    }
                }
                out.finsBesideGrey += beside ? 1 : 0;
            }
        }
    }
    if (out.grey > 0) {
        out.meanCol /= out.grey;
        out.meanRow /= out.grey;
    }
    return out;
}

} // namespace

TEST(Keys, FogStartStepsFiveUnitsWithEitherCaseOfOAndP) {
    gameSession game(withTextures(textureFiles));
    ASSERT_TRUE(game.awaitFirstFrame());
    const screenshot start = game.shot();

    // Ground seen through linear fog brightens and darkens with the fog's share alone,
    // whatever the texture under it.
    struct step {
        const char* key;
        double fogStart;
    };
    for (const step& st : {step{"p", fogAtLaunch + fogStep}, step{"O", fogAtLaunch},
                           step{"o", fogAtLaunch - fogStep}, step{"P", fogAtLaunch}}) {
        const double expected =
            fogFactor(eyeHeight, st.fogStart) / fogFactor(eyeHeight, fogAtLaunch);
        game.press({st.key});
        const screenshot s = game.awaitShot(
            [&](const screenshot& x) {
                return std::abs(brightnessRatio(start, x) - expected) < 0.05;
            },
            5s);
        EXPECT_NEAR(brightnessRatio(start, s), expected, 0.05) << "after " << st.key;
    }
    EXPECT_EQ(game.quit(), 0);
}

TEST(Keys, UpperTDrawsWireframeAndLowerTFillsAgain) {
    gameSession game(withTextures(textureFiles));
    ASSERT_TRUE(game.awaitFirstFrame());
    // Filled, the ground covers the whole window; as lines, the background shows between.
    EXPECT_LT(clearShare(game.shot()), 0.01);
    game.press({"T"});
    EXPECT_GT(
        clearShare(game.awaitShot([](const screenshot& s) { return clearShare(s) > 0.8; }, 5s)),
        0.8);
    game.press({"t"});
    EXPECT_LT(
        clearShare(game.awaitShot([](const screenshot& s) { return clearShare(s) < 0.01; }, 5s)),
        0.01);
    EXPECT_EQ(game.quit(), 0);
}

TEST(Keys, SpaceFiresABulletAlongTheTravelAndLowerMAFinnedMissile) {
    gameSession game(withTextures({}));
    ASSERT_TRUE(game.awaitFirstFrame());
    // Fog pushed back to 15 brightens the ground well above the projectiles' grey.
    game.press({"p"});
    gameSession::pause(500ms);
    ASSERT_EQ(findProjectiles(game.shot()).grey, 0);

    // At rest a bullet leaves along heading 0, world +Z: to the right of the centre.
    game.press({"space"});
    const screenshot withBullet =
        game.awaitShot([](const screenshot& s) { return findProjectiles(s).grey >= 30; }, 5s);
    const projectilePixels bullet = findProjectiles(withBullet);
    ASSERT_GE(bullet.grey, 30);
    EXPECT_GT(bullet.meanCol, withBullet.width / 2);
    EXPECT_NEAR(bullet.meanRow, withBullet.height / 2, 8);
    EXPECT_EQ(bullet.finsBesideGrey, 0);

    // Upper-case M is no key at all.
    game.press({"M"});
    gameSession::pause(400ms);
    const projectilePixels same = findProjectiles(game.shot());
    EXPECT_LT(same.grey, bullet.grey + 40);
    EXPECT_EQ(same.finsBesideGrey, 0);

    // A missile: a larger grey body with two red fins.
    game.press({"m"});
    const auto missileShown = [&](const screenshot& s) {
        const projectilePixels p = findProjectiles(s);
        return p.finsBesideGrey >= 3 && p.grey >= bullet.grey + 120;
    };
    EXPECT_TRUE(missileShown(game.awaitShot(missileShown, 5s)));
    EXPECT_EQ(game.quit(), 0);
}

TEST(Keys, TurningRotatesTheShipAndSpeedCarriesItOverTheGround) {
    gameSession game(withTextures({}));
    ASSERT_TRUE(game.awaitFirstFrame());
    const double top = shipCentre + shipHalf;
    // Probes just inside the top face's corners and just outside its edges: a square
    // turned by 40 degrees swaps which of them it covers.
    const auto turnedBy40 = [top](const screenshot& s, bool turned) {
        for (double sx : {-1.0, 1.0}) {
            for (double sz : {-1.0, 1.0}) {
                const windowPoint corner = project(sx * 0.40, sz * 0.40, top);
                const windowPoint edgeX = project(sx * 0.56, 0, top);
                const windowPoint edgeZ = project(0, sz * 0.56, top);
                const auto green = [&s](windowPoint w) {
                    return isGreenTinted(s.at(static_cast<int>(w.col), static_cast<int>(w.row)));
                };
                if (green(corner) == turned || green(edgeX) != turned || green(edgeZ) != turned) {
                    return false;
                }
            }
        }
        return true;
    };
    EXPECT_TRUE(turnedBy40(game.shot(), false));

    // Heading 0 at speed 0.05: the ground slides left under the centred ship, and not at
    // all up or down.
    game.press({"T", "w", "W", "w", "W", "w"});
    gameSession::pause(300ms);
    const screenshot a = game.shot();
    gameSession::pause(500ms);
    const screenshot b = game.shot();
    ASSERT_TRUE(gridShift(a, b, true).has_value());
    ASSERT_TRUE(gridShift(a, b, false).has_value());
    EXPECT_LT(*gridShift(a, b, true), -5);
    EXPECT_NEAR(*gridShift(a, b, false), 0, 1);

    // Four turns to the left; once the bank has levelled the top face is a turned square.
    game.press({"t", "a", "A", "a", "A"});
    EXPECT_TRUE(turnedBy40(
        game.awaitShot([&](const screenshot& s) { return turnedBy40(s, true); }, 10s), true));

    // Five more make heading 90, world +X: now the ground slides down the window.
    game.press({"a", "a", "a", "a", "a", "T"});
    gameSession::pause(300ms);
    const screenshot c = game.shot();
    gameSession::pause(500ms);
    const screenshot d = game.shot();
    ASSERT_TRUE(gridShift(c, d, true).has_value());
    ASSERT_TRUE(gridShift(c, d, false).has_value());
    EXPECT_GT(*gridShift(c, d, false), 5);
    EXPECT_NEAR(*gridShift(c, d, true), 0, 1);
    EXPECT_EQ(game.quit(), 0);
}
