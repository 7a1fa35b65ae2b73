#include "world/projectile.h"

#include <gtest/gtest.h>

#include "world/enemy.h"

// A shot takes the launching ship's velocity: from rest it leaves along +Z whatever way the
// ship faces, and from a ship flying backwards it leaves backwards.
TEST(ProjectileFiring, LeavesAlongTheShipsTravelAtTwiceItsSpeedPlusAMargin) {
    const struct {
        vec2 shipVelocity;
        float heading, speed; // the shot's
    } cases[] = {{/*shipVelocity=*/{0.05f, 0}, /*heading=*/90, /*speed=*/0.12f},
                 {/*shipVelocity=*/{0, 0}, /*heading=*/0, /*speed=*/0.02f},
                 {/*shipVelocity=*/{0, -0.02f}, /*heading=*/180, /*speed=*/0.06f}};
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
    EXPECT_TRUE(b.isAlive() && b.z == 1000.0f) << b.z;
    b.move();
    EXPECT_TRUE(!b.isAlive() && b.z == 1000.0f) << b.z;
}

// Fired away from the enemy, a missile turns at once and closes by two advances of 0.02. A
// dead one still re-aims and creeps on by one advance a tick.
TEST(MissileHoming, ReaimsEveryTickAndClosesTwoAdvancesAliveOrOneDead) {
    const struct {
        missile shot;
        vec2 enemyAt;
        bool alive; // after one update, with the ticks of life left and the distance to go
        int32_t life;
        float distance;
    } cases[] = {{/*shot=*/missile(vec2(0, 0), vec2(-0.3f, 0)), /*enemyAt=*/{0, 10},
                  /*alive=*/true, /*life=*/499, /*distance=*/9.96f},
                 {/*shot=*/missile(), /*enemyAt=*/{10, 0}, /*alive=*/false, /*life=*/0,
                  /*distance=*/9.98f}};
    for (auto c : cases) {
        c.shot.update(enemy(c.enemyAt, 0));
        EXPECT_EQ(c.shot.isAlive(), c.alive);
        EXPECT_EQ(c.shot.life, c.life);
        EXPECT_NEAR(c.shot.position().distanceTo(c.enemyAt), c.distance, 1e-5);
    }
}
