// The frame's pacing, its single swap and the hits it finds.
#include "render/frame.h"

#include <vector>

#include <gtest/gtest.h>

#include "app/clock.h"
#include "render/font.h"
#include "tests/app/scene.h"

// The program is linked with --wrap=glutSwapBuffers, so every swap the game makes is counted
// here on its way to GLUT.
namespace {
int swaps = 0;
} // namespace

extern "C" {
void __real_glutSwapBuffers();

void __wrap_glutSwapBuffers() {
    ++swaps;
    __real_glutSwapBuffers();
}
}

namespace {

void place(entity& e, float x, float z) {
    e.x = x;
    e.z = z;
}

class Frame : public WorldTest {
  protected:
    static void SetUpTestSuite() {
        WorldTest::SetUpTestSuite();
        makeRasterFont();
    }
};

} // namespace

// On a fake time line, the second frame sleeps before it draws or swaps anything.
TEST_F(Frame, WaitsOnTheClockFirstAndPresentsWithOneSwap) {
    tickClock::time now{};
    std::vector<int> swapsAtSleep;
    frameClock = tickClock([&] { return now; },
                           [&](tickClock::time t) {
                               swapsAtSleep.push_back(swaps);
                               now = t;
                           });
    frameClock.start();
    const int before = swaps;
    renderFrame();
    renderFrame();
    frameClock = tickClock();
    EXPECT_EQ(swaps - before, 2);
    EXPECT_EQ(swapsAtSleep, std::vector<int>{before + 1});
}

// Exactly 2 units apart is a miss; 1.999 on both axes is a hit. A ship already dead still
// stops a shot, and a spent shot stops nothing.
TEST_F(Frame, AHitNeedsLessThanTwoUnitsOnBothAxesAndDeadShipsStillAbsorb) {
    place(enemyShip, 2, 0);
    place(wingmanShip, 0, -2);
    bullets[0] = bullet(vec2(0, 0), vec2(0, 0));
    renderFrame();
    EXPECT_TRUE(bullets[0].alive && enemyShip.alive && wingmanShip.alive);

    place(enemyShip, 1.999f, -1.999f);
    renderFrame();
    EXPECT_FALSE(bullets[0].alive || enemyShip.alive);

    bullets[1] = bullet(vec2(0.5f, 0), vec2(0, 0));
    place(enemyShip, 0, 0);
    bullets[2] = bullet(vec2(0, -2.5f), vec2(0, 0)); // over the wingman, but spent
    bullets[2].alive = false;
    renderFrame();
    EXPECT_FALSE(bullets[1].alive);
    EXPECT_TRUE(wingmanShip.alive);
}

// A bullet is tested against both ships even after its first hit; a missile only ever
// against the enemy.
TEST_F(Frame, ABulletCanKillBothShipsButAMissilePassesThroughTheWingman) {
    place(enemyShip, 0, 1);
    place(wingmanShip, 0, -1);
    bullets[0] = bullet(vec2(0, 0), vec2(0, 0));
    renderFrame();
    EXPECT_FALSE(bullets[0].alive || enemyShip.alive || wingmanShip.alive);

    wingmanShip.alive = true;
    missiles[0] = missile(vec2(0, -1), vec2(0, 0));
    renderFrame();
    EXPECT_TRUE(missiles[0].alive && wingmanShip.alive);
    place(enemyShip, 0.5f, -0.5f);
    renderFrame();
    EXPECT_FALSE(missiles[0].alive);
}
