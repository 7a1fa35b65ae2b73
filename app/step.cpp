#include "app/step.h"

#include <GL/glut.h>

#include "app/clock.h"
#include "app/pacer.h"
#include "app/world.h"

namespace {

// Each object reacts to the state its leader reached in this same tick: the enemy sees the
// player after its move, the wingman the enemy after its update, and every missile the same
// enemy. Dead ships and projectiles are stepped too; their own rules decide what that does.
void runOneTick() {
    playerShip.move();
    enemyShip.update(playerShip);
    wingmanShip.update(enemyShip);
    for (bulletIt = bullets.begin(); bulletIt != bullets.end(); ++bulletIt) {
        bulletIt->move();
    }
    for (missileIt = missiles.begin(); missileIt != missiles.end(); ++missileIt) {
        missileIt->update(enemyShip);
    }
}

} // namespace

// When a frame is to be drawn, the display event runs the ticks the time since the last
// frame owes, 60 a second whatever the frame rate, just before the idle call draws it. It
// keeps the next event coming either way.
void stepWorld() {
    if (screenPacer.takeFrameIfDue()) {
        for (int owed = worldClock.ticksOwed(); owed > 0; --owed) {
            runOneTick();
        }
    }
    glutPostRedisplay();
}
