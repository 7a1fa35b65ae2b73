#pragma once

#include "world/enemy.h"

// Keeps company with the enemy: stops beside it when within 3 units, roams otherwise.
class wingman : public enemy {
  public:
    wingman() = default;
    wingman(vec2 p, float h) : enemy(p, h) {}

    void update(entity target);
    // Public beside update so that the steering can be tested without the move.
    void follow(entity target);
};
