#include "app/step.h"

#include <gtest/gtest.h>

#include "tests/app/scene.h"

namespace {

void place(entity& e, float x, float z) {
    e.x = x;
    e.z = z;
}

} // namespace

// The player flies 2.5 along +X: 5 units from the enemy before its move, 2.5 after, which is
// inside the enemy's stopping range.
TEST_F(WorldTest, TheEnemyReactsToThePlayerAfterThePlayersMove) {
    playerShip.turnBy(90);
    playerShip.setSpeed(2.5f);
    place(enemyShip, 5, 0);
    stepWorld();
    EXPECT_FLOAT_EQ(playerShip.x, 2.5f);
    EXPECT_EQ(enemyShip.speed, 0.0f);
    EXPECT_EQ(enemyShip.x, 5.0f);
}

// The player flies at 3.01 along +Z from z = 8, so the enemy at the origin leads it and ends
// the tick at z = 3, dead or alive. The wingman 5.5 from the enemy's start is within 3 of
// where it ends, so it stops; both missiles aim at the enemy's new place, not its old one.
TEST_F(WorldTest, WingmanAndMissilesReactToTheEnemyAfterItsUpdateDeadOrAlive) {
    place(playerShip, 0, 8);
    playerShip.setSpeed(3.01f);
    place(enemyShip, 0, 0);
    enemyShip.setAlive(false);
    place(wingmanShip, 0, 5.5f);
    missiles[0] = missile(vec2(4, 3), vec2(0, 0));
    missiles[9] = missile(vec2(-4, 3), vec2(0, 0));
    stepWorld();
    EXPECT_NEAR(enemyShip.z, 3.0f, 1e-5);
    EXPECT_EQ(wingmanShip.speed, 0.0f);
    EXPECT_EQ(wingmanShip.z, 5.5f);
    EXPECT_NEAR(missiles[0].heading, 270.0f, 1e-3);
    EXPECT_NEAR(missiles[9].heading, 90.0f, 1e-3);
    EXPECT_NEAR(missiles[0].x, 3.96f, 1e-5);
}
