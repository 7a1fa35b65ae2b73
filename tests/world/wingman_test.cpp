#include "world/wingman.h"

#include <gtest/gtest.h>

namespace {

entity leaderAt(vec2 p, float heading, float speed) {
    entity e(p, 0);
    e.turnBy(heading);
    e.setSpeed(speed);
    return e;
}

} // namespace

TEST(WingmanFollow, WithinThreeUnitsItStopsFacingTheEnemysTravel) {
    wingman w(vec2(0, 0), 0);
    w.update(leaderAt(vec2(0, 2.9f), 120, 0.04f));
    EXPECT_NEAR(w.heading, 120.0f, 1e-4);
    EXPECT_EQ(w.speed, 0.0f);
    EXPECT_EQ(w.x, 0.0f);
    EXPECT_EQ(w.z, 0.0f);
}

TEST(WingmanFollow, AStoppedEnemyCloseByLeavesItAtHeadingZero) {
    wingman w(vec2(0, 0), 45);
    w.update(leaderAt(vec2(1, 1), 0, 0));
    EXPECT_EQ(w.heading, 0.0f);
    EXPECT_EQ(w.speed, 0.0f);
}

TEST(WingmanFollow, AtThreeUnitsOrMoreItRoamsAtFixedSpeed) {
    for (const vec2 leaderPos : {vec2(0, 3), vec2(40, -7)}) {
        wingman w(vec2(0, 0), 0);
        w.update(leaderAt(leaderPos, 0, 0));
        EXPECT_FLOAT_EQ(w.speed, 0.05f);
        EXPECT_NEAR(w.position().distanceTo(vec2(0, 0)), 0.05f, 1e-6);
    }
}

TEST(WingmanFollow, NeverLevelsItsBank) {
    wingman w(vec2(0, 0), 0);
    w.bank = 10;
    w.update(leaderAt(vec2(0, 20), 0, 0.1f));
    EXPECT_EQ(w.bank, 10.0f);
}
