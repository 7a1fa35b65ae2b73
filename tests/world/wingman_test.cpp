#include "world/wingman.h"

#include <gtest/gtest.h>

#include "tests/world/ships.h"

// Inside 3 units it stops, facing the enemy's travel; from exactly 3 out it roams at 0.05
// whatever the enemy does. Unlike the enemy it never levels its bank.
TEST(WingmanFollow, StopsInsideThreeUnitsAndRoamsAtFixedSpeedBeyond) {
    const struct {
        vec2 leader;
        float leaderHeading, leaderSpeed;
        float heading, speed; // the wingman's after its update
    } cases[] = {
        {/*leader=*/{0, 2.9f}, /*leaderHeading=*/120, /*leaderSpeed=*/0.04f, /*heading=*/120,
         /*speed=*/0},
        // Wanders, to (15, 0).
        {/*leader=*/{0, 3}, /*leaderHeading=*/0, /*leaderSpeed=*/0, /*heading=*/90,
         /*speed=*/0.05f},
        {/*leader=*/{40, -7}, /*leaderHeading=*/200, /*leaderSpeed=*/0.3f, /*heading=*/90,
         /*speed=*/0.05f},
    };
    for (const auto& c : cases) {
        seedWanderAtBearingZero();
        wingman w(vec2(0, 0), 0);
        w.bank = 10;
        w.update(flying(c.leader, c.leaderHeading, c.leaderSpeed));
        SCOPED_TRACE(testing::Message() << "beside (" << c.leader.x << ", " << c.leader.y << ")");
        EXPECT_NEAR(w.heading, c.heading, 1e-4);
        EXPECT_FLOAT_EQ(w.speed, c.speed);
        EXPECT_NEAR(w.position().distanceTo(vec2(0, 0)), c.speed, 1e-6);
        EXPECT_EQ(w.bank, 10.0f);
    }
}
