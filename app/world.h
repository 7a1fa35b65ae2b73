#pragma once

#include <vector>

#include "render/ground.h"
#include "world/enemy.h"
#include "world/fighter.h"
#include "world/projectile.h"
#include "world/wingman.h"

extern std::vector<bullet> bullets;
extern std::vector<missile> missiles;
extern std::vector<missile>::iterator missileIt;
extern std::vector<bullet>::iterator bulletIt;
extern fighter playerShip;
extern enemy enemyShip;
extern wingman wingmanShip;
extern float fogStart;
extern ground* groundList;

// Background, depth test, shading, the AI ships' start, the ground and the textures.
// Needs a current OpenGL context.
void initScene();
