#include "world/projectile.h"

#include <gtest/gtest.h>

// A shot takes the launching ship's velocity: from rest it leaves along +Z whatever way the
// ship faces, and from a ship flying backwards it leaves backwards.
TEST(ProjectileFiring, LeavesAlongTheShipsTravelAtTwiceItsSpeedPlusAMargin) {
    const struct {
        vec2 shipVelocity;
        float heading, speed;
    } cases[] = {
        {vec2(0.05f, 0), 90, 0.12f}, {vec2(0, 0), 0, 0.02f}, {vec2(0, -0.02f), 180, 0.06f}};
    for (const auto& c : cases) {
        const bullet b(vec2(1, 2), c.shipVelocity);
        EXPECT_EQ(b.position().distanceTo(vec2(1, 2)), 0.0f);
        EXPECT_NEAR(b.heading, c.heading, 1e-4) << "heading " << c.heading;
        EXPECT_FLOAT_EQ(b.speed, c.speed) << "heading " << c.heading;
    }
}

// 500 ticks at 2 units a tick; the 501st moves it no more and kills it.
TEST(ProjectileLife, MovesForFiveHundredTicksAndDiesOnTheNext) {
    bullet b(vec2(0, 0), vec2(0, 0.99f));
    for (int i = 0; i < 500; ++i) {
        b.move();
    }
    EXPECT_TRUE(b.isAlive());
    EXPECT_EQ(b.z, 1000.0f);
    b.move();
    EXPECT_FALSE(b.isAlive());
    EXPECT_EQ(b.z, 1000.0f);
}

// Fired away from the enemy, it turns at once and closes by two advances of 0.02.
TEST(MissileHoming, ReaimsAndClosesFourHundredthsATick) {
    const enemy target(vec2(0, 10), 0);
    missile m(vec2(0, 0), vec2(-0.3f, 0));
    m.update(target);
    EXPECT_NEAR(m.position().distanceTo(target.position()), 9.96f, 1e-5);
    EXPECT_EQ(m.life, 499);
}

TEST(MissileHoming, ADeadMissileStillReaimsAndCreepsOneAdvanceATick) {
    missile m;
    m.update(enemy(vec2(10, 0), 0));
    EXPECT_FALSE(m.isAlive());
    EXPECT_NEAR(m.x, 0.02f, 1e-7);
}
