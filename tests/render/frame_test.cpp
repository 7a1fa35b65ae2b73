// The frame's single swap and the hits it finds.
#include "render/frame.h"

#include <gtest/gtest.h>

#include "tests/app/scene.h"

// The program is linked with --wrap=glutSwapBuffers: every swap the game makes is counted
// here on its way to GLUT.
static int swaps = 0;
extern "C" void __real_glutSwapBuffers();
extern "C" void __wrap_glutSwapBuffers() {
    ++swaps;
    __real_glutSwapBuffers();
}

namespace {

// Every frame must present itself with exactly one swap.
class Frame : public WorldTest {
  protected:
    static void frame() {
        const int before = swaps;
        renderFrame();
        EXPECT_EQ(swaps, before + 1);
    }
};

} // namespace

// Exactly 2 units apart is a miss; 1.999 on both axes is a hit. A ship already dead still
// stops a shot.
TEST_F(Frame, AHitNeedsLessThanTwoUnitsOnBothAxesAndDeadShipsStillAbsorb) {
    enemyShip = enemy(vec2(2, 0), 0);
    wingmanShip = wingman(vec2(0, -2), 0);
    bullets[0] = bullet(vec2(0, 0), vec2(0, 0));
    frame();
    EXPECT_TRUE(bullets[0].alive && enemyShip.alive && wingmanShip.alive);

    enemyShip = enemy(vec2(1.999f, -1.999f), 0);
    frame();
    EXPECT_FALSE(bullets[0].alive || enemyShip.alive);

    bullets[1] = bullet(vec2(0.5f, 0), vec2(0, 0));
    enemyShip.x = 0; // still dead
    frame();
    EXPECT_FALSE(bullets[1].alive);
}

// A bullet is tested against both ships even after its first hit; a missile only ever
// against the enemy.
TEST_F(Frame, ABulletCanKillBothShipsButAMissilePassesThroughTheWingman) {
    enemyShip = enemy(vec2(0, 1), 0);
    wingmanShip = wingman(vec2(0, -1), 0);
    bullets[0] = bullet(vec2(0, 0), vec2(0, 0));
    frame();
    EXPECT_FALSE(bullets[0].alive || enemyShip.alive || wingmanShip.alive);

    wingmanShip.alive = true;
    missiles[0] = missile(vec2(0, -1), vec2(0, 0));
    frame();
    EXPECT_TRUE(missiles[0].alive && wingmanShip.alive);
    enemyShip.z = 0; // still dead
    frame();
    EXPECT_FALSE(missiles[0].alive);
}
