#include "app/step.h"

#include <gtest/gtest.h>

#include "tests/app/scene.h"

namespace {

void place(entity& e, float x, float z) {
    e.x = x;
    e.z = z;
}

// The player flies along +Z at 3.01 per tick from z = 8, so the enemy at the origin sees it
// 11.01 away after its move and leads it, ending the tick at z = 3 with speed 3.
class StepOrder : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        place(playerShip, 0, 8);
        playerShip.setSpeed(3.01f);
        place(enemyShip, 0, 0);
    }
};

} // namespace

TEST_F(StepOrder, EnemyReactsToThePlayerAfterThePlayersMove) {
    // Before its move the player is 5 away (chase); after it, 2.5 away: inside stopping range.
    place(playerShip, 0, 0);
    playerShip.turnBy(90);
    playerShip.setSpeed(2.5f);
    place(enemyShip, 5, 0);
    stepWorld();
    EXPECT_FLOAT_EQ(playerShip.x, 2.5f);
    EXPECT_EQ(enemyShip.speed, 0.0f);
    EXPECT_NEAR(enemyShip.heading, 90.0f, 1e-4);
    EXPECT_EQ(enemyShip.x, 5.0f);
}

TEST_F(StepOrder, WingmanReactsToTheEnemyAfterTheEnemysUpdate) {
    place(wingmanShip, 0, 5.5f); // 5.5 from the enemy before its update, 2.5 after
    stepWorld();
    EXPECT_NEAR(enemyShip.z, 3.0f, 1e-5);
    EXPECT_EQ(wingmanShip.speed, 0.0f);
    EXPECT_EQ(wingmanShip.x, 0.0f);
    EXPECT_EQ(wingmanShip.z, 5.5f);
}

TEST_F(StepOrder, EveryMissileHomesOnTheEnemyWhereItEndsTheTick) {
    missiles[0] = missile(vec2(4, 3), vec2(0, 0));
    missiles[9] = missile(vec2(-4, 3), vec2(0, 0));
    stepWorld();
    // Both aim at the enemy's new place (0, 3), not at the origin it left.
    EXPECT_NEAR(missiles[0].heading, 270.0f, 1e-3);
    EXPECT_NEAR(missiles[9].heading, 90.0f, 1e-3);
    EXPECT_NEAR(missiles[0].x, 3.96f, 1e-5);
    EXPECT_NEAR(missiles[9].x, -3.96f, 1e-5);
    EXPECT_EQ(missiles[0].life, 499);
}

TEST_F(StepOrder, ADeadEnemyStillMovesAndIsStillFollowedAndHomedOn) {
    enemyShip.setAlive(false);
    place(wingmanShip, 0, 5.5f);
    missiles[0] = missile(vec2(4, 3), vec2(0, 0));
    stepWorld();
    EXPECT_FALSE(enemyShip.isAlive());
    EXPECT_NEAR(enemyShip.z, 3.0f, 1e-5);
    EXPECT_EQ(wingmanShip.speed, 0.0f);
    EXPECT_NEAR(missiles[0].heading, 270.0f, 1e-3);
}

TEST_F(WorldTest, EveryBulletMovesOnceATickAndAnUnfiredOneStaysPut) {
    bullets[0] = bullet(vec2(0, 0), vec2(0, 0.04f));
    bullets[29] = bullet(vec2(1, 1), vec2(0.04f, 0));
    stepWorld();
    EXPECT_FLOAT_EQ(bullets[0].z, 0.1f);
    EXPECT_FLOAT_EQ(bullets[29].x, 1.1f);
    EXPECT_EQ(bullets[0].life, 499);
    EXPECT_EQ(bullets[29].life, 499);
    EXPECT_FALSE(bullets[1].isAlive());
    EXPECT_EQ(bullets[1].z, 0.0f);
}

TEST_F(WorldTest, ThePlayerMovesAlongItsHeadingAndLevelsItsBank) {
    playerShip.turnBy(90); // leans -90 degrees into the turn
    playerShip.setSpeed(0.5f);
    stepWorld();
    EXPECT_FLOAT_EQ(playerShip.x, 0.5f);
    EXPECT_FLOAT_EQ(playerShip.bank, -89.75f);
}
