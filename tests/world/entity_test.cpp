#include "world/entity.h"

#include <gtest/gtest.h>

// Heading 0 is +Z and 90 is +X; each quadrant and each axis takes its own branch. Off the
// diagonals, a formula meant for one quadrant gives a wrong heading in another.
TEST(EntitySetVelocity, TakesSpeedAndHeadingFromTheVectorInEveryQuadrant) {
    const float r5 = 2.23606798f, a = 26.5651f; // the length of (1, 2) and its angle to +Z
    const struct {
        vec2 v;
        float speed, heading;
    } cases[] = {
        {vec2(0, 0), 0, 0},        {vec2(0, 5), 5, 0},          {vec2(0, -2), 2, 180},
        {vec2(3, 0), 3, 90},       {vec2(-3, 0), 3, 270},       {vec2(1, 2), r5, a},
        {vec2(2, -1), r5, 90 + a}, {vec2(-1, -2), r5, 180 + a}, {vec2(-2, 1), r5, 270 + a}};
    for (const auto& c : cases) {
        entity e;
        e.setVelocity(c.v);
        EXPECT_FLOAT_EQ(e.speed, c.speed) << "(" << c.v.x << ", " << c.v.y << ")";
        EXPECT_NEAR(e.heading, c.heading, 1e-4) << "(" << c.v.x << ", " << c.v.y << ")";
    }
}

// Its squares underflow to a length of 0; a NaN heading would stay for the rest of the game.
TEST(EntitySetVelocity, AVectorTooShortToSquareStillGivesAHeading) {
    entity e;
    e.setVelocity(vec2(1e-30f, -1e-30f));
    EXPECT_TRUE(e.heading >= 0 && e.heading <= 360) << e.heading;
}

TEST(EntityTurn, HeadingWrapsOnceSoExactly360Stays) {
    entity e;
    e.turnBy(355);
    e.turnBy(10);
    EXPECT_FLOAT_EQ(e.heading, 5);
    e.turnBy(-10);
    EXPECT_FLOAT_EQ(e.heading, 355);
    e.turnBy(5);
    EXPECT_EQ(e.heading, 360.0f);
}

// A turn banks the other way unless the ship already leans 45 or more into it, and the
// result is not clamped: a lean of 44 takes the whole 10 degrees.
TEST(EntityTurn, BanksAgainstTheTurnWithoutClamping) {
    const struct {
        float bank, turn, after;
    } cases[] = {{0, 10, -10},   {0, -10, 10},  {-50, 10, -50}, {-50, -10, -40},
                 {-45, 10, -45}, {44, -10, 54}, {54, -10, 54}};
    for (const auto& c : cases) {
        entity e;
        e.bank = c.bank;
        e.turnBy(c.turn);
        EXPECT_EQ(e.bank, c.after) << c.bank << " turned by " << c.turn;
    }
}

// A quarter degree a tick, towards 0 (levelling from 10 is flown in the fighter's test): a
// bank of 0.1 overshoots to -0.15 and back for ever.
TEST(EntityBank, DecayMakesSmallBanksOvershoot) {
    entity e;
    e.bank = 0.1f;
    e.decayBank();
    EXPECT_FLOAT_EQ(e.bank, -0.15f);
    e.decayBank();
    EXPECT_FLOAT_EQ(e.bank, 0.1f);
}
