#include "world/wingman.h"

namespace {

constexpr float roamingSpeed = 0.05f; // world units per tick, whatever the enemy does

} // namespace

// No bank decay: nothing ever banks the wingman.
void wingman::update(entity target) {
    follow(target);
    advance();
}

// It never steers toward the enemy: it waits beside it when the enemy comes close.
void wingman::follow(entity target) {
    if (!matchOrStop(target)) {
        wander(roamingSpeed);
    }
}
