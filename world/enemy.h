#pragma once

#include "world/entity.h"

class fighter;

// The ship that hunts the player. It reacts to a snapshot of the player taken after the
// player's own move in the same tick, and never changes the player.
class enemy : public entity {
  public:
    enemy() = default;
    enemy(vec2 p, float h) : entity(p, h) {}

    // One tick: pursue, advance along the new velocity, then level the bank a step.
    void update(fighter target);
    // Steers by the distance to the player, without moving: stops closer than 3 units,
    // flies straight at the player closer than 10, at its place a tick ahead closer than 25,
    // and wanders beyond; moving, it flies 0.01 slower than the player.
    void pursue(fighter target);
    // Heads for a random point near the ship at speed s, read as a bearing from the world
    // origin.
    void wander(float s);
    void draw(); // the model, defined in assets/models.cpp

  protected:
    // Both AI ships first take over their target's direction of travel and speed, and stop
    // there when closer than 3 units, so they never sit on top of it. Returns whether the
    // ship stopped.
    bool matchOrStop(entity target);
};
