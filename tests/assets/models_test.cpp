// The ship and projectile models, captured with feedback mode in world space.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <tuple>
#include <vector>

#include "tests/support/feedback.h"
#include "world/enemy.h"
#include "world/fighter.h"
#include "world/projectile.h"
#include "world/wingman.h"

namespace {

using colour = std::array<float, 4>;
using corner = std::array<float, 3>;

constexpr colour grey{0.5f, 0.5f, 0.5f, 1}, red{1, 0, 0, 1};

void forEachVertex(const feedbackCapture& c, const std::function<void(const feedbackVertex&)>& f) {
    for (const auto& polygon : c.polygons) {
        std::for_each(polygon.begin(), polygon.end(), f);
    }
}

// The distinct corners drawn in the colour, sorted; all corners for an empty colour.
std::vector<corner> corners(const feedbackCapture& c, colour only = {}) {
    const auto near = [](float a, float b) { return std::abs(a - b) < 1e-4f; };
    const auto round = [](float f) { return std::round(f * 1e4f) / 1e4f; }; // float noise
    std::vector<corner> out;
    forEachVertex(c, [&](const feedbackVertex& v) {
        const colour vc{v.r, v.g, v.b, v.a};
        if (only == colour{} || std::equal(vc.begin(), vc.end(), only.begin(), near)) {
            out.push_back({round(v.x), round(v.y), round(v.z)});
        }
    });
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

// The box around the corners: lowest x y z, then highest x y z.
std::array<float, 6> bounds(const std::vector<corner>& cs) {
    std::array<float, 6> b{1e9f, 1e9f, 1e9f, -1e9f, -1e9f, -1e9f};
    for (const corner& p : cs) {
        for (int i = 0; i < 3; ++i) {
            b[i] = std::min(b[i], p[i]);
            b[i + 3] = std::max(b[i + 3], p[i]);
        }
    }
    return b;
}

class ModelCapture : public ::testing::Test {
  protected:
    void SetUp() override {
        glDisable(GL_LIGHTING);
        glColor4f(1, 1, 1, 1);
    }
    void TearDown() override { EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR}); }

    // Ships at heights 4.5..5.5 and projectiles at 10 lie well inside.
    static feedbackCapture capture(const std::function<void()>& draw) {
        const feedbackCapture c = captureFeedback({0, 5, 0, 10, 10, 10}, draw);
        EXPECT_TRUE(c.complete);
        return c;
    }

    template <std::size_t N = 4>
    static std::array<float, N> current(GLenum what) {
        std::array<float, N> v{};
        glGetFloatv(what, v.data());
        return v;
    }
};

using ShipModel = ModelCapture;
using ProjectileModel = ModelCapture;

} // namespace

TEST_F(ShipModel, AiShipIsAUnitCubeFiveUpWithItsRedNoseTowardPlusZAndOneColourAFace) {
    enemy e(vec2(3, -2), 0);
    const feedbackCapture c = capture([&] { e.draw(); });
    EXPECT_EQ(corners(c).size(), 8u);
    EXPECT_EQ(bounds(corners(c)), (std::array<float, 6>{2.5f, 4.5f, -2.5f, 3.5f, 5.5f, -1.5f}));
    // Each face colour covers one whole side: its corners share the side's x, y or z.
    const std::array<std::tuple<colour, int, float>, 6> faces{{{{0, 1, 0, 1}, 1, 5.5f},
                                                               {{1, 0.5f, 0, 1}, 1, 4.5f},
                                                               {red, 2, -1.5f},
                                                               {{1, 1, 0, 1}, 2, -2.5f},
                                                               {{0, 0, 1, 1}, 0, 2.5f},
                                                               {{1, 0, 1, 1}, 0, 3.5f}}};
    for (const auto& [tint, axis, at] : faces) {
        const auto side = corners(c, tint);
        EXPECT_EQ(side.size(), 4u);
        EXPECT_TRUE(bounds(side)[axis] == at && bounds(side)[axis + 3] == at) << axis << at;
    }
}

// Seen from above, the top's texture runs from (0, 0) at the tail's +X corner to (1, 1)
// at the nose's -X corner.
TEST_F(ShipModel, EachFaceMapsTheWholeTextureWithTheTopRunningTailToNose) {
    enemy e(vec2(0, 0), 0);
    forEachVertex(capture([&] { e.draw(); }), [](const feedbackVertex& v) {
        EXPECT_TRUE((v.s == 0 || v.s == 1) && (v.t == 0 || v.t == 1));
        if (v.y > 5.4f && v.g == 1 && v.r == 0) {
            EXPECT_EQ(v.s, v.z > 0 ? 1 : 0);
            EXPECT_EQ(v.t, v.x > 0 ? 0 : 1);
        }
    });
}

TEST_F(ShipModel, PlayerShipIsDrawnWhileDeadAtAlphaPointFourOnEveryFace) {
    fighter player;
    ASSERT_FALSE(player.isAlive());
    const feedbackCapture c = capture([&] { player.draw(); });
    EXPECT_EQ(corners(c, {0, 1, 0, 0.4f}).size(), 4u);
    forEachVertex(c, [](const feedbackVertex& v) { EXPECT_FLOAT_EQ(v.a, 0.4f); });
}

// Translate, heading, then bank about the ship's own nose: at heading 90 the nose stays
// on +X and a 45-degree bank tips the top toward +Z.
TEST_F(ShipModel, BankRollsAboutTheNoseAfterTheHeading) {
    enemy e(vec2(0, 0), 90);
    e.bank = 45;
    const feedbackCapture c = capture([&] { e.draw(); });
    EXPECT_EQ(bounds(corners(c, red))[0], 0.5f);
    EXPECT_EQ(bounds(corners(c, red))[3], 0.5f);
    const auto top = bounds(corners(c, {0, 1, 0, 1}));
    const float lean = 0.5f * std::sqrt(0.5f);
    EXPECT_NEAR((top[1] + top[4]) / 2, 5 + lean, 2e-4);
    EXPECT_NEAR((top[2] + top[5]) / 2, lean, 2e-4);
}

TEST_F(ProjectileModel, BulletIsAGreyDartTenUpFromItsTailToAPoint) {
    bullet b;
    b.setAlive(true);
    b.x = 2;
    b.z = -3;
    const feedbackCapture c = capture([&] { b.draw(); });
    EXPECT_EQ(corners(c, grey).size(), 5u);
    EXPECT_EQ(bounds(corners(c, grey)), (std::array<float, 6>{1.9f, 10, -3, 2.1f, 10, -2.6f}));
    EXPECT_EQ(current(GL_CURRENT_COLOR), grey);
}

// The missile gives no texture coordinates and keeps the one current.
TEST_F(ProjectileModel, MissileAtHeadingNinetyPointsToPlusXWithRedFinsAtItsTail) {
    missile m;
    m.setAlive(true);
    m.heading = 90;
    glTexCoord2f(0.25f, 0.75f);
    const feedbackCapture c = capture([&] { m.draw(); });
    EXPECT_EQ(bounds(corners(c, grey)), (std::array<float, 6>{0, 10, -0.15f, 0.7f, 10, 0.15f}));
    const auto fins = corners(c, red);
    EXPECT_EQ(fins.size(), 6u);
    EXPECT_TRUE(std::count(fins.begin(), fins.end(), corner{0, 10, 0.2f}));
    EXPECT_TRUE(std::count(fins.begin(), fins.end(), corner{0, 10, -0.2f}));
    EXPECT_EQ(current(GL_CURRENT_COLOR), red);
    forEachVertex(c, [](const feedbackVertex& v) { EXPECT_TRUE(v.s == 0.25f && v.t == 0.75f); });
}

// Not even a colour: no geometry, and the colour, texture coordinate and matrix unchanged.
TEST_F(ModelCapture, DeadAiShipsAndProjectilesMakeNoOpenGlCall) {
    enemy e(vec2(1, 2), 30);
    wingman w(vec2(1, 2), 30);
    e.setAlive(false);
    w.setAlive(false);
    bullet b; // projectiles start dead
    missile m;
    const std::function<void()> draws[] = {[&] { e.draw(); }, [&] { w.draw(); }, [&] { b.draw(); },
                                           [&] { m.draw(); }};
    for (const auto& draw : draws) {
        glColor4f(0.25f, 0.5f, 0.75f, 0.125f);
        glTexCoord2f(0.25f, 0.5f);
        const feedbackCapture c = capture([&] {
            glTranslatef(1, 2, 3);
            const auto matrix = current<16>(GL_MODELVIEW_MATRIX);
            draw();
            EXPECT_EQ(current<16>(GL_MODELVIEW_MATRIX), matrix);
        });
        EXPECT_TRUE(c.polygons.empty());
        EXPECT_EQ(current(GL_CURRENT_COLOR), (colour{0.25f, 0.5f, 0.75f, 0.125f}));
        EXPECT_EQ(current(GL_CURRENT_TEXTURE_COORDS), (colour{0.25f, 0.5f, 0, 1}));
    }
}
