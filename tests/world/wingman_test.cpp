#include "world/wingman.h"

#include <gtest/gtest.h>

#include "tests/world/ships.h"

TEST(WingmanFollow, WithinThreeUnitsItStopsFacingTheEnemysTravel) {
    wingman w(vec2(0, 0), 0);
    w.update(flying(vec2(0, 2.9f), 120, 0.04f));
    EXPECT_NEAR(w.heading, 120.0f, 1e-4);
    EXPECT_EQ(w.speed, 0.0f);
    EXPECT_EQ(w.z, 0.0f);
}

// Exactly 3 already counts as apart; apart, it roams at 0.05 whatever the enemy does, and
// unlike the enemy it never levels its bank.
TEST(WingmanFollow, FromThreeUnitsOutItRoamsAtFixedSpeedKeepingItsBank) {
    for (const vec2 leader : {vec2(0, 3), vec2(40, -7)}) {
        wingman w(vec2(0, 0), 0);
        w.bank = 10;
        w.update(flying(leader, 0, 0));
        EXPECT_FLOAT_EQ(w.speed, 0.05f);
        EXPECT_NEAR(w.position().distanceTo(vec2(0, 0)), 0.05f, 1e-6);
        EXPECT_EQ(w.bank, 10.0f);
    }
}
