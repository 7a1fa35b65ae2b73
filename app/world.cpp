#include "app/world.h"

#include <cstddef>

#include <GL/gl.h>

#include "assets/textures.h"
#include "render/ground.h"

namespace {

constexpr std::size_t bulletPoolSize = 30;
constexpr std::size_t missilePoolSize = 10;

// Where the AI ships start, as (X, Z) in world units: about 14 units apart, so the wingman
// begins by roaming.
const vec2 enemyStart(-5, -5);
const vec2 wingmanStart(5, 5);

void placeAiShips() {
    wingmanShip = wingman(wingmanStart, 0);
    enemyShip = enemy(enemyStart, 0);
}

} // namespace

// Defined in their order of construction; destroyed in reverse at exit.
std::vector<bullet> bullets(bulletPoolSize, bullet());     // fired by keys, freed by hits or age
std::vector<missile> missiles(missilePoolSize, missile()); // fired by keys, freed by hits or age
std::vector<missile>::iterator missileIt; // cursor of every missile pass: step, keys, frame
std::vector<bullet>::iterator bulletIt;   // cursor of every bullet pass: step, keys, frame
fighter playerShip;                       // steered by keys, moved by the step
enemy enemyShip;     // placed by initScene, moved by the step, killed by the frame
wingman wingmanShip; // placed by initScene, moved by the step, killed by the frame's bullets
float fogStart = fogStartAtLaunch; // world units from the eye; moved by the O and P keys
ground* groundList = nullptr;      // built once by initScene, never freed

void initScene() {
    glClearColor(0, 0.1f, 0.1f, 0); // dark teal
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_FLAT);
    placeAiShips();
    groundList = new ground();
    loadTextures();
}

void resetWorld() {
    bullets.assign(bulletPoolSize, bullet());
    missiles.assign(missilePoolSize, missile());
    playerShip = fighter();
    placeAiShips();
    fogStart = fogStartAtLaunch;
}
