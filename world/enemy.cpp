#include "world/enemy.h"

#include <cmath>
#include <cstdlib>

#include "world/fighter.h"

namespace {

// Distance bands, in world units, measured strictly: exactly 3 already lies outside the
// stop range and exactly 10 outside the chase range.
constexpr float stopRange = 3.0f;   // closer than this the ship sits still
constexpr float chaseRange = 10.0f; // closer than this it flies straight at the player
constexpr float leadRange = 25.0f;  // closer than this it aims one tick ahead of the player

// The enemy flies a touch slower than the player, so a player holding 0.01 is never caught.
constexpr float speedHandicap = 0.01f;

// The wander point lies 5 units along +X from the ship, then twice 5 units along a random
// bearing.
constexpr float wanderReach = 5.0f;

} // namespace

void enemy::update(fighter target) {
    pursue(target);
    advance();
    decayBank();
}

bool enemy::matchOrStop(entity target) {
    const float d = position().distanceTo(target.position());
    setVelocity(target.getVelocity());
    if (d < stopRange) {
        setSpeed(0);
        return true;
    }
    return false;
}

void enemy::pursue(fighter target) {
    const vec2 own = position();
    if (matchOrStop(target)) {
        return;
    }
    const float d = own.distanceTo(target.position());
    if (d < chaseRange) {
        setVelocity(target.position().subtract(own));
        setSpeed(target.getSpeed() - speedHandicap);
    } else if (d < leadRange) {
        setVelocity(target.position().subtract(own).add(target.getVelocity()));
        setSpeed(target.getSpeed() - speedHandicap);
    } else {
        wander(target.getSpeed() - speedHandicap);
    }
}

void enemy::wander(float s) {
    vec2 curloc = position();
    setVelocity(vec2(0, 0));
    // The heading is now 0 and goes to cos and sin as it stands, so forward is (1, 0).
    const vec2 forward(std::cos(heading), std::sin(heading));
    vec2 center = curloc.add(forward.scaled(wanderReach));
    // On purpose: rand is never seeded, so the AI roams alike in every game.
    const float rho = toRadians(static_cast<float>(std::rand() % 360));
    const vec2 dirToPoint(std::cos(rho), std::sin(rho));
    center.add(dirToPoint.scaled(wanderReach));
    center.add(dirToPoint.scaled(wanderReach));
    setVelocity(center);
    setSpeed(s);
}
