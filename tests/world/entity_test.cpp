#include "world/entity.h"

#include <gtest/gtest.h>

// Heading 0 is +Z and 90 is +X; each quadrant and axis takes its own branch, and off the
// diagonals another quadrant's formula is wrong. The last vector's squares underflow to a
// length of 0: any heading will do, but a NaN would stay for the rest of the game.
TEST(EntitySetVelocity, TakesSpeedAndHeadingFromTheVectorInEveryQuadrant) {
    const float r5 = 2.23606798f, a = 26.5651f; // the length of (1, 2) and its angle to +Z
    const struct {
        vec2 v;
        float speed, heading, within = 1e-4f;
    } cases[] = {{vec2(0, 0), 0, 0},         {vec2(0, 5), 5, 0},
                 {vec2(0, -2), 2, 180},      {vec2(3, 0), 3, 90},
                 {vec2(-3, 0), 3, 270},      {vec2(1, 2), r5, a},
                 {vec2(2, -1), r5, 90 + a},  {vec2(-1, -2), r5, 180 + a},
                 {vec2(-2, 1), r5, 270 + a}, {vec2(1e-30f, -1e-30f), 0, 180, 180}};
    for (const auto& c : cases) {
        entity e;
        e.setVelocity(c.v);
        EXPECT_FLOAT_EQ(e.speed, c.speed) << "(" << c.v.x << ", " << c.v.y << ")";
        EXPECT_NEAR(e.heading, c.heading, c.within) << "(" << c.v.x << ", " << c.v.y << ")";
    }
}

// The heading wraps once, so exactly 360 stays. A turn banks the other way unless the ship
// already leans 45 or more into it, and the result is not clamped: a lean of 44 takes the
// whole 10 degrees.
TEST(EntityTurn, WrapsTheHeadingOnceAndBanksAgainstTheTurnWithoutClamping) {
    const struct {
        float heading, bank, turn, headingAfter, bankAfter;
    } cases[] = {{355, 0, 10, 5, -10},    {5, 0, -10, 355, 10},  {355, -45, 5, 360, -45},
                 {0, -50, -10, 350, -40}, {0, 44, -10, 350, 54}, {0, 45, -10, 350, 45}};
    for (const auto& c : cases) {
        entity e;
        e.heading = c.heading;
        e.bank = c.bank;
        e.turnBy(c.turn);
        EXPECT_EQ(e.heading, c.headingAfter) << c.heading << " turned by " << c.turn;
        EXPECT_EQ(e.bank, c.bankAfter) << c.bank << " turned by " << c.turn;
    }
}
