#include "world/enemy.h"

#include <gtest/gtest.h>

#include "tests/world/ships.h"

// The player is the given distance up +Z from the enemy; exactly 3, 10 and 25 fall in the
// next band out. Moving, the enemy flies 0.01 slower than the player, even below 0.
TEST(EnemyPursuit, PicksItsBandByStrictDistance) {
    const struct {
        float distance, playerHeading, playerSpeed;
        float heading, speed; // the enemy's after its update
    } bands[] = {
        // Stops, facing the player's travel.
        {/*distance=*/2.9f, /*playerHeading=*/30, /*playerSpeed=*/0.05f, /*heading=*/30,
         /*speed=*/0},
        // Flies straight at the player, here backing away.
        {/*distance=*/3, /*playerHeading=*/90, /*playerSpeed=*/0, /*heading=*/0, /*speed=*/-0.01f},
        // A player holding 0.01 is never caught.
        {/*distance=*/9.9f, /*playerHeading=*/90, /*playerSpeed=*/0.01f, /*heading=*/0,
         /*speed=*/0},
        // Aims one tick ahead, at (1, 10) from itself.
        {/*distance=*/10, /*playerHeading=*/90, /*playerSpeed=*/1, /*heading=*/5.7106f,
         /*speed=*/0.99f},
        // One tick ahead of a player at rest is the player.
        {/*distance=*/24.9f, /*playerHeading=*/0, /*playerSpeed=*/0, /*heading=*/0,
         /*speed=*/-0.01f},
        // Wanders, to (-5, -5) + (15, 0) seen from the origin.
        {/*distance=*/25, /*playerHeading=*/0, /*playerSpeed=*/0.03f, /*heading=*/116.565f,
         /*speed=*/0.02f},
    };
    for (const auto& b : bands) {
        seedWanderAtBearingZero();
        enemy e(vec2(-5, -5), 0);
        e.update(flying(vec2(-5, -5 + b.distance), b.playerHeading, b.playerSpeed));
        EXPECT_NEAR(e.heading, b.heading, 1e-3) << "at " << b.distance;
        EXPECT_FLOAT_EQ(e.speed, b.speed) << "at " << b.distance;
    }
}
