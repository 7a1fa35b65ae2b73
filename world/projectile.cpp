#include "world/projectile.h"

#include "world/enemy.h"

namespace {

// A shot leaves at twice the sum of the launcher's speed and this margin, in world units
// per tick, so even a shot fired at rest moves.
constexpr float launchMargin = 0.01f;
constexpr float missileSpeed = 0.02f; // world units per advance; a live missile advances twice

} // namespace

projectile::projectile(vec2 position, vec2 velocity) {
    alive = true;
    z = position.y;
    x = position.x;
    setVelocity(velocity);
    setSpeed(2 * (speed + launchMargin));
    life = projectileLife;
}

// A projectile moves on its last tick of life and is set dead on the tick after.
void projectile::move() {
    if (life <= 0) {
        alive = false;
    } else if (alive) {
        advance();
        life = life - 1;
    }
}

void missile::home(enemy target) {
    const vec2 curloc = position();
    setVelocity(target.position().subtract(curloc));
    setSpeed(missileSpeed);
}

// The extra advance runs dead or alive; move then advances a live missile once more.
void missile::update(enemy target) {
    home(target);
    advance();
    move();
}
