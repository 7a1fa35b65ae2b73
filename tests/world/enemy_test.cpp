#include "world/enemy.h"

#include <gtest/gtest.h>

#include "tests/world/ships.h"

// The player is the given distance up +Z from the enemy; exactly 3, 10 and 25 fall in the
// next band out. Moving, the enemy flies 0.01 slower than the player, even below 0.
TEST(EnemyPursuit, PicksItsBandByStrictDistance) {
    const struct {
        float distance, playerHeading, playerSpeed, heading, speed;
    } bands[] = {
        {2.9f, 30, 0.05f, 30, 0},        // stops, facing the player's travel
        {3, 90, 0, 0, -0.01f},           // flies straight at the player, here backing away
        {9.9f, 90, 0.01f, 0, 0},         // a player holding 0.01 is never caught
        {10, 90, 1, 5.7106f, 0.99f},     // aims one tick ahead, at (1, 10) from itself
        {24.9f, 0, 0, 0, -0.01f},        // one tick ahead of a player at rest is the player
        {25, 0, 0.03f, 116.565f, 0.02f}, // wanders, to (-5, -5) + (15, 0) seen from the origin
    };
    for (const auto& b : bands) {
        seedWanderAtBearingZero();
        enemy e(vec2(-5, -5), 0);
        e.update(flying(vec2(-5, -5 + b.distance), b.playerHeading, b.playerSpeed));
        EXPECT_NEAR(e.heading, b.heading, 1e-3) << "at " << b.distance;
        EXPECT_FLOAT_EQ(e.speed, b.speed) << "at " << b.distance;
    }
}
