#pragma once

#include "world/enemy.h"

// Keeps company with the enemy: stops beside it when within 3 units, roams otherwise.
class wingman : public enemy {
  public:
    wingman() = default;
    wingman(vec2 p, float h) : enemy(p, h) {}

    // One tick: follow, then advance. Nothing banks the wingman, so nothing levels it.
    void update(entity target);
    // Steers without moving: stops facing the enemy's travel closer than 3 units to it,
    // wanders at 0.05 units a tick otherwise.
    void follow(entity target);
};
