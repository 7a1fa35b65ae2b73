#include "app/keyboard.h"

#include <cstdlib>
#include <vector>

#include <GL/glut.h>

#include "app/world.h"

namespace {

constexpr unsigned char escapeKey = 27;

// Overwrites the lowest free slot with a shot from the player's ship; with every slot in
// use the shot is dropped. The cursor is left on the slot used, or at the end.
template <typename Shot>
void fire(std::vector<Shot>& pool, typename std::vector<Shot>::iterator& cursor) {
    for (cursor = pool.begin(); cursor != pool.end(); ++cursor) {
        if (!cursor->isAlive()) {
            *cursor = Shot(playerShip.position(), playerShip.getVelocity());
            return;
        }
    }
}

void moveFogStart(double by) {
    fogStart = static_cast<float>(fogStart + by);
}

} // namespace

// Letters that steer, accelerate or move the fog act in either case; the drawing switches
// and the missile only on the exact character, so M fires nothing.
void handleKey(unsigned char key, int, int) {
    switch (key) {
    case escapeKey:
        std::exit(0);
    case ' ':
        fire(bullets, bulletIt);
        break;
    case 'A':
    case 'a':
        playerShip.turnBy(turnStep);
        break;
    case 'D':
    case 'd':
        playerShip.turnBy(-turnStep);
        break;
    case 'W':
    case 'w':
        playerShip.addSpeed(speedStep);
        break;
    case 'S':
    case 's':
        playerShip.addSpeed(-speedStep);
        break;
    case 'O':
    case 'o':
        moveFogStart(-fogStep);
        break;
    case 'P':
    case 'p':
        moveFogStart(fogStep);
        break;
    case 'T':
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        break;
    case 't':
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        break;
    case 'Y':
        glEnable(GL_LINE_SMOOTH);
        break;
    case 'y':
        glDisable(GL_LINE_SMOOTH);
        break;
    case 'm':
        fire(missiles, missileIt);
        break;
    default:
        break;
    }
    glutPostRedisplay();
}
