#include "world/wingman.h"

namespace {

constexpr float stopRange = 3.0f;     // world units; closer than this it waits beside the enemy
constexpr float roamingSpeed = 0.05f; // world units per tick, whatever the enemy does

} // namespace

// No bank decay: nothing ever banks the wingman.
void wingman::update(entity target) {
    follow(target);
    advance();
}

void wingman::follow(entity target) {
    const vec2 own = position();
    const float d = own.distanceTo(target.position());
    setVelocity(target.getVelocity());
    if (d < stopRange) {
        setSpeed(0);
    } else {
        wander(roamingSpeed);
    }
}
