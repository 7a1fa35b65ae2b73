#pragma once

#include <vector>

#include "world/enemy.h"
#include "world/fighter.h"
#include "world/projectile.h"
#include "world/wingman.h"

class ground;

extern std::vector<bullet> bullets;
extern std::vector<missile> missiles;
extern std::vector<missile>::iterator missileIt;
extern std::vector<bullet>::iterator bulletIt;
extern fighter playerShip;
extern enemy enemyShip;
extern wingman wingmanShip;
extern float fogStart;
extern ground* groundList;

// The fog starts this far from the eye, in world units, until the keys move it.
constexpr float fogStartAtLaunch = 10;

// Background, depth test, shading, the AI ships' start, the ground and the textures.
// Needs a current OpenGL context.
void initScene();

// ---- For the tests and the benchmarks: the game never calls it ----

// Puts every object of the world back as the game starts it: the player at rest at the
// origin, the AI ships where initScene places them, every projectile slot free, the fog at
// its first start. Touches no OpenGL.
void resetWorld();
