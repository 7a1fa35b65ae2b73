// The ship and projectile models, captured with feedback mode in world space.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "tests/support/expected.h"
#include "tests/support/feedback.h"
#include "world/enemy.h"
#include "world/fighter.h"
#include "world/projectile.h"

namespace {

using colour = std::array<float, 4>;
using box = std::array<float, 6>; // lowest x y z, then highest x y z, in world units
constexpr colour grey{0.5f, 0.5f, 0.5f, 1}, red{1, 0, 0, 1}, green{0, 1, 0, 1};

// The box around what draw sends in the colour (any colour for an empty one), well inside
// the capture. Lighting stays off, so the colours captured are the ones given.
box boxIn(const std::function<void()>& draw, colour only = {}) {
    const feedbackCapture c = captureFeedback({0, 5, 0, 10}, draw);
    EXPECT_TRUE(c.complete);
    EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
    const auto round = [](float f) { return std::round(f * 1e4f) / 1e4f; }; // float noise
    box b{1e9f, 1e9f, 1e9f, -1e9f, -1e9f, -1e9f};
    for (const auto& polygon : c.polygons) {
        for (const feedbackVertex& v : polygon) {
            const colour tint{round(v.r), round(v.g), round(v.b), round(v.a)};
            const float at[3] = {round(v.x), round(v.y), round(v.z)};
            for (int i = 0; i < 3 && (only == colour{} || only == tint); ++i) {
                b[i] = std::min(b[i], at[i]);
                b[i + 3] = std::max(b[i + 3], at[i]);
            }
        }
    }
    return b;
}

} // namespace

// The player's ship is drawn although it is never alive, every face at its alpha; a dead AI
// ship sends nothing.
TEST(Model, ShipsAreUnitCubesFiveUpWithOneColourAFaceAndTheirRedNoseTowardPlusZ) {
    enemy ai(vec2(3, -2), 0);
    fighter player;
    player.x = 3;
    player.z = -2;
    const struct {
        std::function<void()> draw;
        float alpha;
    } ships[] = {{/*draw=*/[&] { ai.draw(); }, /*alpha=*/1},
                 {/*draw=*/[&] { player.draw(); }, /*alpha=*/expected::playerAlpha}};
    const struct {
        colour tint;
        box side;
    } faces[] = {
        {/*tint=*/green, /*side=*/{2.5f, 5.5f, -2.5f, 3.5f, 5.5f, -1.5f}},        // top
        {/*tint=*/{1, 0.5f, 0}, /*side=*/{2.5f, 4.5f, -2.5f, 3.5f, 4.5f, -1.5f}}, // bottom, orange
        {/*tint=*/red, /*side=*/{2.5f, 4.5f, -1.5f, 3.5f, 5.5f, -1.5f}},          // nose
        {/*tint=*/{1, 1, 0}, /*side=*/{2.5f, 4.5f, -2.5f, 3.5f, 5.5f, -2.5f}},    // tail, yellow
        {/*tint=*/{0, 0, 1}, /*side=*/{2.5f, 4.5f, -2.5f, 2.5f, 5.5f, -1.5f}},    // -X, blue
        {/*tint=*/{1, 0, 1}, /*side=*/{3.5f, 4.5f, -2.5f, 3.5f, 5.5f, -1.5f}},    // +X, magenta
    };
    for (const auto& [draw, alpha] : ships) {
        for (auto [tint, side] : faces) {
            tint[3] = alpha;
            EXPECT_EQ(boxIn(draw, tint), side) << tint[0] << tint[1] << tint[2] << tint[3];
        }
    }
    ai.setAlive(false);
    EXPECT_EQ(boxIn([&] { ai.draw(); }), boxIn([] {}));
}

// Translate, heading, then bank about the ship's own nose: at heading 90 the nose stays
// on +X and a 45-degree bank tips the top toward +Z.
TEST(Model, BankRollsAboutTheNoseAfterTheHeading) {
    enemy e(vec2(0, 0), 90);
    e.bank = 45;
    const box nose = boxIn([&] { e.draw(); }, red), top = boxIn([&] { e.draw(); }, green);
    EXPECT_TRUE(nose[0] == 0.5f && nose[3] == 0.5f);
    const float lean = 0.5f * std::sqrt(0.5f);
    EXPECT_NEAR((top[1] + top[4]) / 2, 5 + lean, 2e-4);
    EXPECT_NEAR((top[2] + top[5]) / 2, lean, 2e-4);
}

// A grey dart; a grey body with red fins at its tail, here turned to point along +X.
TEST(Model, ProjectilesLieTenUpFromTheirTailPointingAlongTheirHeading) {
    bullet b(vec2(2, -3), vec2(0, 0));
    missile m(vec2(0, 0), vec2(0, 0));
    m.heading = 90;
    EXPECT_EQ(boxIn([&] { b.draw(); }), (box{1.9f, 10, -3, 2.1f, 10, -2.6f}));
    EXPECT_EQ(boxIn([&] { b.draw(); }, grey), boxIn([&] { b.draw(); }));
    EXPECT_EQ(boxIn([&] { m.draw(); }, grey), (box{0, 10, -0.15f, 0.7f, 10, 0.15f}));
    EXPECT_EQ(boxIn([&] { m.draw(); }, red), (box{0, 10, -0.2f, 0.2f, 10, 0.2f}));
}
