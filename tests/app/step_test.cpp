#include "app/step.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include "app/game.h"
#include "app/pacer.h"
#include "tests/app/scene.h"
#include "tests/app/timeline.h"

// The player flies from 5 units of the enemy to 2.5, inside its stopping range.
TEST_F(WorldTest, TheEnemyReactsToThePlayerAfterThePlayersMove) {
    playerShip.turnBy(90);
    playerShip.setSpeed(2.5f);
    enemyShip = enemy(vec2(5, 0), 0);
    stepWorld();
    EXPECT_FLOAT_EQ(playerShip.x, 2.5f);
    EXPECT_EQ(enemyShip.speed, 0.0f);
}

// The dead enemy leads the player from the origin to z = 3, within 3 of the wingman, which
// stops; both missiles aim at the enemy's new place, not its old one.
TEST_F(WorldTest, WingmanAndMissilesReactToTheEnemyAfterItsUpdateDeadOrAlive) {
    playerShip.z = 8;
    playerShip.setSpeed(3.01f);
    enemyShip = enemy(vec2(0, 0), 0);
    enemyShip.setAlive(false);
    wingmanShip = wingman(vec2(0, 5.5f), 0);
    missiles[0] = missile(vec2(4, 3), vec2(0, 0));
    missiles[9] = missile(vec2(-4, 3), vec2(0, 0));
    stepWorld();
    EXPECT_NEAR(enemyShip.z, 3.0f, 1e-5);
    EXPECT_EQ(wingmanShip.speed, 0.0f);
    EXPECT_NEAR(missiles[0].heading, 270.0f, 1e-3);
    EXPECT_NEAR(missiles[9].heading, 90.0f, 1e-3);
}

// Each display event runs the ticks the game's clock owes: one at the first, two at one two
// ticks later. Shown after two seconds hidden, it goes on with one, not a hitch's four.
TEST_F(WorldTest, EachDisplayEventRunsTheTicksTheClockOwes) {
    timeline t;
    worldClock = tickClock(t.source());
    worldClock.start();
    playerShip.setSpeed(1);
    stepWorld();
    EXPECT_FLOAT_EQ(playerShip.z, 1);
    t.now += 2 * tick;
    stepWorld();
    EXPECT_FLOAT_EQ(playerShip.z, 3);
    stepWorld();
    EXPECT_FLOAT_EQ(playerShip.z, 3);
    windowStatusChanged(GLUT_HIDDEN);
    t.now += 2s;
    windowStatusChanged(GLUT_FULLY_RETAINED);
    stepWorld();
    EXPECT_FLOAT_EQ(playerShip.z, 4);
    worldClock = tickClock();
    screenPacer = framePacer(); // shown, the window started it
}
