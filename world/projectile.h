#pragma once

#include "world/entity.h"

class enemy;

// What bullets and missiles share: fired from a launcher's position along its velocity,
// alive for projectileLife ticks.
class projectile : public entity {
  public:
    projectile() = default;
    projectile(vec2 position, vec2 velocity);

    void move();
};

// Flies straight along the launcher's direction of travel.
class bullet : public projectile {
  public:
    bullet() = default;
    bullet(vec2 position, vec2 velocity) : projectile(position, velocity) {}

    void draw(); // the model, defined in assets/models.cpp
};

// Re-aims at the enemy every tick and closes on it by two advances a tick.
class missile : public projectile {
  public:
    missile() = default;
    missile(vec2 position, vec2 velocity) : projectile(position, velocity) {}

    // One tick: home, one advance alive or dead, then move as every projectile does (a
    // second advance while alive).
    void update(enemy target);
    // Aims straight at the enemy at 0.02 units an advance, without moving.
    void home(enemy target);
    void draw(); // the model, defined in assets/models.cpp
};
