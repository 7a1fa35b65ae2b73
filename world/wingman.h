#pragma once

#include "world/enemy.h"

// Keeps company with the enemy: stops beside it when within 3 units, roams otherwise.
class wingman : public enemy {
  public:
    wingman() = default;
    wingman(vec2 p, float h) : enemy(p, h) {}

    void update(entity target);
    void follow(entity target);
};
