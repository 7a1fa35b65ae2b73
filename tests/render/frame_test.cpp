#include "render/frame.h"

#include <gtest/gtest.h>

#include "tests/app/scene.h"

namespace {

int presents = 0;

// The world as it starts, its frames presented through a step that counts them.
class Frame : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        setPresentStep([] { ++presents; });
    }
};

} // namespace

// A shot and a ship are squares of half-size 1: exactly 2 units apart is a miss, 1.999 on
// both axes a hit. A ship already dead still stops a shot. A bullet is tested against both
// ships even after its first hit; a missile only ever against the enemy. Every frame
// is presented once.
TEST_F(Frame, AShotHitsTheShipsWithinTwoUnitsOnBothAxes) {
    const struct {
        const char* what;
        bool missile;
        vec2 shot, enemyAt, wingmanAt;
        bool enemyAlive, shotAfter, enemyAfter, wingmanAfter;
    } cases[] = {
        {"2 apart", false, vec2(0, 0), vec2(2, 0), vec2(0, -2), true, true, true, true},
        {"1.999 apart", false, vec2(0, 0), vec2(1.999f, -1.999f), vec2(0, -2), true, false, false,
         true},
        {"dead enemy", false, vec2(0.5f, 0), vec2(0, 0), vec2(9, 9), false, false, false, true},
        {"between", false, vec2(0, 0), vec2(0, 1), vec2(0, -1), true, false, false, false},
        {"missile", true, vec2(0, 0), vec2(1, 1), vec2(9, 9), true, false, false, true},
        {"wingman", true, vec2(0, -1), vec2(9, 9), vec2(0, -1), true, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        enemyShip = enemy(c.enemyAt, 0);
        enemyShip.alive = c.enemyAlive;
        wingmanShip = wingman(c.wingmanAt, 0);
        bullets[0] = c.missile ? bullet() : bullet(c.shot, vec2(0, 0));
        missiles[0] = c.missile ? missile(c.shot, vec2(0, 0)) : missile();
        const int before = presents;
        renderFrame();
        EXPECT_EQ(presents, before + 1);
        EXPECT_EQ(c.missile ? missiles[0].alive : bullets[0].alive, c.shotAfter);
        EXPECT_EQ(enemyShip.alive, c.enemyAfter);
        EXPECT_EQ(wingmanShip.alive, c.wingmanAfter);
    }
}
