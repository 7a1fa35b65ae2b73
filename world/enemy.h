#pragma once

#include "world/entity.h"
#include "world/fighter.h"

// The ship that hunts the player. It reacts to a snapshot of the player taken after the
// player's own move in the same tick, and never changes the player.
class enemy : public entity {
  public:
    enemy() = default;
    enemy(vec2 p, float h) : entity(p, h) {}

    void update(fighter target);
    void pursue(fighter target);
    // Heads for a random point near the ship, read as a bearing from the world origin.
    void wander(float s);
    void draw(); // the model, drawn by the renderer's code
};
