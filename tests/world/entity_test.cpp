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
    } cases[] = {
        {/*v=*/{0, 0}, /*speed=*/0, /*heading=*/0},
        {/*v=*/{0, 5}, /*speed=*/5, /*heading=*/0},
        {/*v=*/{0, -2}, /*speed=*/2, /*heading=*/180},
        {/*v=*/{3, 0}, /*speed=*/3, /*heading=*/90},
        {/*v=*/{-3, 0}, /*speed=*/3, /*heading=*/270},
        {/*v=*/{1, 2}, /*speed=*/r5, /*heading=*/a},
        {/*v=*/{2, -1}, /*speed=*/r5, /*heading=*/90 + a},
        {/*v=*/{-1, -2}, /*speed=*/r5, /*heading=*/180 + a},
        {/*v=*/{-2, 1}, /*speed=*/r5, /*heading=*/270 + a},
        {/*v=*/{1e-30f, -1e-30f}, /*speed=*/0, /*heading=*/180, /*within=*/180},
    };
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
    } cases[] = {
        {/*heading=*/355, /*bank=*/0, /*turn=*/10, /*headingAfter=*/5, /*bankAfter=*/-10},
        {/*heading=*/5, /*bank=*/0, /*turn=*/-10, /*headingAfter=*/355, /*bankAfter=*/10},
        {/*heading=*/355, /*bank=*/-45, /*turn=*/5, /*headingAfter=*/360, /*bankAfter=*/-45},
        {/*heading=*/0, /*bank=*/-50, /*turn=*/-10, /*headingAfter=*/350, /*bankAfter=*/-40},
        {/*heading=*/0, /*bank=*/44, /*turn=*/-10, /*headingAfter=*/350, /*bankAfter=*/54},
        {/*heading=*/0, /*bank=*/45, /*turn=*/-10, /*headingAfter=*/350, /*bankAfter=*/45},
    };
    for (const auto& c : cases) {
        entity e;
        e.heading = c.heading;
        e.bank = c.bank;
        e.turnBy(c.turn);
        EXPECT_EQ(e.heading, c.headingAfter) << c.heading << " turned by " << c.turn;
        EXPECT_EQ(e.bank, c.bankAfter) << c.bank << " turned by " << c.turn;
    }
}
