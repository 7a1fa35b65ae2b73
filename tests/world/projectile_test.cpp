#include "world/projectile.h"

#include <gtest/gtest.h>

namespace {

// The velocity a ship with this heading and speed hands to a shot.
vec2 launcher(float heading, float speed) {
    fighter f;
    f.turnBy(heading);
    f.setSpeed(speed);
    return f.getVelocity();
}

enemy standingAt(vec2 p) {
    enemy e(p, 0);
    e.speed = 0;
    return e;
}

} // namespace

TEST(ProjectileFiring, LeavesAlongTheShipsTravelAtTwiceItsSpeedPlusMargin) {
    bullet b(vec2(1, 2), launcher(90, 0.05f));
    EXPECT_TRUE(b.isAlive());
    EXPECT_EQ(b.life, 500);
    EXPECT_NEAR(b.heading, 90.0f, 1e-4);
    EXPECT_FLOAT_EQ(b.speed, 0.12f);
    for (int i = 0; i < 10; ++i) {
        b.move();
    }
    EXPECT_NEAR(b.x, 2.2f, 1e-5);
    EXPECT_NEAR(b.z, 2.0f, 1e-5);
}

TEST(ProjectileFiring, FromAShipAtRestItFliesAlongPlusZWhateverTheShipFaces) {
    bullet b(vec2(0, 0), launcher(90, 0));
    EXPECT_EQ(b.heading, 0.0f);
    EXPECT_FLOAT_EQ(b.speed, 0.02f);
    b.move();
    EXPECT_FLOAT_EQ(b.z, 0.02f);
    EXPECT_EQ(b.x, 0.0f);
}

TEST(ProjectileFiring, FromAShipFlyingBackwardsItLeavesBackwards) {
    bullet b(vec2(0, 0), launcher(0, -0.02f));
    EXPECT_NEAR(b.heading, 180.0f, 1e-4);
    b.move();
    EXPECT_LT(b.z, 0.0f);
}

TEST(ProjectileLife, MovesFiveHundredTicksAndDiesOnTheNext) {
    bullet b(vec2(0, 0), launcher(0, 0.99f));
    for (int i = 0; i < 500; ++i) {
        b.move();
    }
    EXPECT_TRUE(b.isAlive());
    EXPECT_EQ(b.life, 0);
    const float lastZ = b.z;
    b.move();
    EXPECT_FALSE(b.isAlive());
    EXPECT_EQ(b.z, lastZ);
}

TEST(ProjectileLife, ANeverFiredOrKilledShotStaysPut) {
    bullet unfired;
    unfired.move();
    EXPECT_FALSE(unfired.isAlive());
    EXPECT_EQ(unfired.z, 0.0f);

    bullet hit(vec2(0, 0), launcher(0, 1));
    hit.setAlive(false);
    hit.move();
    EXPECT_EQ(hit.z, 0.0f);
    EXPECT_EQ(hit.life, 500);
}

TEST(MissileHoming, ClosesFourHundredthsATickAndArrivesInAbout250) {
    const enemy target = standingAt(vec2(0, 10));
    missile m(vec2(0, 0), launcher(270, 0.3f));
    m.update(target);
    EXPECT_NEAR(m.position().distanceTo(target.position()), 9.96f, 1e-5);
    EXPECT_EQ(m.life, 499);
    int ticks = 1;
    while (m.position().distanceTo(target.position()) > 0.04f && ticks < 400) {
        m.update(target);
        ++ticks;
    }
    EXPECT_NEAR(ticks, 250, 1);
}

TEST(MissileHoming, OnTopOfTheEnemyItAimsAtHeadingZero) {
    missile m(vec2(3, 4), launcher(90, 0.5f));
    m.home(standingAt(vec2(3, 4)));
    EXPECT_EQ(m.heading, 0.0f);
    EXPECT_FLOAT_EQ(m.speed, 0.02f);
}

TEST(MissileHoming, ADeadMissileStillReaimsAndCreepsOneAdvanceATick) {
    missile m;
    m.update(standingAt(vec2(10, 0)));
    EXPECT_FALSE(m.isAlive());
    EXPECT_NEAR(m.x, 0.02f, 1e-7);
    EXPECT_NEAR(m.heading, 90.0f, 1e-4);
}
