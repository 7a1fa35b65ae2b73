#pragma once

#include <cstdint>

#include "world/angles.h"
#include "world/vec2.h"

// Ticks a projectile flies after it is fired. A ship placed by the positioned constructor
// carries the same count, unused.
constexpr int32_t projectileLife = 500;

// The state of every moving thing in the game. Headings are in degrees, 0 along +Z and
// 90 along +X; speeds are world units per tick. Derived classes add behaviour only, so
// every object is exactly these nine fields and can be passed around as a snapshot.
class entity {
  public:
    float z, x;
    vec2 velocity; // (sin, cos) * speed after a speed change or a turn, or as setVelocity
                   // gave it; motion and getVelocity never read it
    float speed;
    float heading;
    float headingRad; // refreshed from heading before every use
    bool alive;
    int32_t life; // ticks a projectile has left
    float bank;   // roll in degrees, set by turning and levelled by decayBank

    entity();
    entity(vec2 p, float h);

    float getX() const { return x; }
    float getZ() const { return z; }
    vec2 position() const { return vec2(x, z); }
    float getSpeed() const { return speed; }

    void setSpeed(float s);
    void addSpeed(float d);
    void turnBy(float delta);
    void setVelocity(vec2 v);
    vec2 getVelocity();
    void decayBank();
    void advance();

    bool isAlive() const { return alive; }
    void setAlive(bool a) { alive = a; }

  private:
    void refreshVelocity();
};
