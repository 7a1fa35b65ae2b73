#pragma once

#include "world/entity.h"

class fighter;

// The ship that hunts the player. It reacts to a snapshot of the player taken after the
// player's own move in the same tick, and never changes the player.
class enemy : public entity {
  public:
    enemy() = default;
    enemy(vec2 p, float h) : entity(p, h) {}

    void update(fighter target);
    // Public beside update so that the steering can be tested without the move.
    void pursue(fighter target);
    // Heads for a random point near the ship, read as a bearing from the world origin.
    void wander(float s);
    void draw(); // the model, defined in assets/models.cpp

  protected:
    // Both AI ships first take over their target's direction of travel and speed, and stop
    // there when closer than 3 units, so they never sit on top of it. Returns whether the
    // ship stopped.
    bool matchOrStop(entity target);
};
