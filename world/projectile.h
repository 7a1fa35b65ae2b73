#pragma once

#include <cstdint>

#include "world/enemy.h"
#include "world/entity.h"

// Ticks a projectile flies after it is fired.
constexpr int32_t projectileLife = 500;

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

    void draw(); // the model, drawn by the renderer's code
};

// Re-aims at the enemy every tick and closes on it by two advances a tick.
class missile : public projectile {
  public:
    missile() = default;
    missile(vec2 position, vec2 velocity) : projectile(position, velocity) {}

    void update(enemy target);
    void home(enemy target);
    void draw(); // the model, drawn by the renderer's code
};
