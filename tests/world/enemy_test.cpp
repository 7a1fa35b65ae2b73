#include "world/enemy.h"

#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

namespace {

// The bearing, in degrees with 0 along +Z and 90 along +X, of a point seen from the origin.
float bearingOf(vec2 p) {
    const double deg = std::atan2(p.x, p.y) * 180.0 / 3.141592653589793;
    return static_cast<float>(deg < 0 ? deg + 360 : deg);
}

fighter playerAt(vec2 p, float heading, float speed) {
    fighter f;
    f.x = p.x;
    f.z = p.y;
    f.turnBy(heading);
    f.setSpeed(speed);
    return f;
}

// A seed whose first rand() % 360 is the wanted angle, so wander is predictable.
unsigned seedForAngle(int angle) {
    for (unsigned seed = 1;; ++seed) {
        std::srand(seed);
        if (std::rand() % 360 == angle) {
            return seed;
        }
    }
}

} // namespace

TEST(EnemyBands, InsideThreeUnitsItStopsFacingThePlayersTravel) {
    enemy e(vec2(0, -2.9f), 0);
    e.update(playerAt(vec2(0, 0), 30, 0.05f));
    EXPECT_NEAR(e.heading, 30.0f, 1e-4);
    EXPECT_EQ(e.speed, 0.0f);
    EXPECT_EQ(e.x, 0.0f);
    EXPECT_FLOAT_EQ(e.z, -2.9f);
}

TEST(EnemyBands, AtExactlyThreeItFliesStraightAtThePlayer) {
    enemy e(vec2(0, -3), 0);
    e.pursue(playerAt(vec2(0, 0), 90, 0.05f));
    EXPECT_NEAR(e.heading, 0.0f, 1e-4);
    EXPECT_FLOAT_EQ(e.speed, 0.04f);
}

TEST(EnemyBands, AtExactlyTenItAimsOneTickAheadOfThePlayer) {
    enemy e(vec2(0, -10), 0);
    e.pursue(playerAt(vec2(0, 0), 90, 1));
    EXPECT_NEAR(e.heading, bearingOf(vec2(1, 10)), 1e-3);
    EXPECT_FLOAT_EQ(e.speed, 0.99f);
}

TEST(EnemyBands, AtExactlyTwentyFiveItWandersWhereverThePlayerIs) {
    const unsigned seed = seedForAngle(90);
    std::srand(seed);
    enemy e(vec2(0, -25), 0);
    e.pursue(playerAt(vec2(0, 0), 0, 0.03f));
    // Wander point: own position + (5, 0) + 10 * (cos 90, sin 90).
    EXPECT_NEAR(e.heading, bearingOf(vec2(5, -15)), 1e-3);
    EXPECT_FLOAT_EQ(e.speed, 0.02f);

    std::srand(seed);
    enemy same(vec2(0, -25), 0);
    same.pursue(playerAt(vec2(0, 60), 200, 0.03f));
    EXPECT_EQ(same.heading, e.heading);
}

TEST(EnemyWander, FromMinusFiveMinusFiveWithAngleZeroItHeadsFor10Minus5) {
    std::srand(seedForAngle(0));
    enemy e(vec2(-5, -5), 0);
    e.wander(0.1f);
    EXPECT_NEAR(e.heading, 116.57f, 0.01f);
    EXPECT_FLOAT_EQ(e.speed, 0.1f);
    e.advance();
    EXPECT_GT(e.x, -5.0f);
    EXPECT_LT(e.z, -5.0f);
}

TEST(EnemySpeed, TrailsThePlayerByOneHundredth) {
    enemy still(vec2(0, -5), 0);
    still.update(playerAt(vec2(0, 0), 0, 0.01f));
    EXPECT_EQ(still.speed, 0.0f);
    EXPECT_FLOAT_EQ(still.z, -5.0f);

    enemy backing(vec2(0, -5), 0);
    backing.update(playerAt(vec2(0, 0), 0, 0));
    EXPECT_FLOAT_EQ(backing.speed, -0.01f);
    EXPECT_FLOAT_EQ(backing.z, -5.01f);
}

TEST(EnemyBank, StaysLevelThroughEveryBand) {
    enemy e(vec2(-5, -5), 0);
    fighter p = playerAt(vec2(0, 0), 0, 0.2f);
    for (int i = 0; i < 400; ++i) {
        p.move();
        e.update(p);
        ASSERT_EQ(e.bank, 0.0f);
    }
}
