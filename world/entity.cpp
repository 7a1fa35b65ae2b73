#include "world/entity.h"

#include <algorithm>
#include <cmath>

namespace {

// A turn never banks the ship further once it leans 45 degrees or more into the turn.
constexpr float bankLimit = 45.0f;
// Degrees per tick by which a banked ship levels out.
constexpr float bankDecay = 0.25f;

} // namespace

entity::entity()
    : z(0), x(0), velocity(0, 0), speed(0), heading(0), headingRad(0), alive(false), life(0),
      bank(0) {}

// Ships are placed at speed 0.1 but their velocity stays zero until they next steer.
entity::entity(vec2 p, float h)
    : z(p.y), x(p.x), velocity(0, 0), speed(0.1f), heading(h), headingRad(0), alive(true),
      life(projectileLife), bank(0) {}

void entity::refreshVelocity() {
    headingRad = toRadians(heading);
    velocity.x = std::sin(headingRad) * speed;
    velocity.y = std::cos(headingRad) * speed;
}

void entity::setSpeed(float s) {
    speed = s;
    refreshVelocity();
}

void entity::addSpeed(float d) {
    speed += d;
    refreshVelocity();
}

// A turn banks the ship the other way. The bank is not clamped: a lean of 44 still takes
// the whole 10 degrees and ends at 54. The heading wraps once, so exactly 360 stays 360.
void entity::turnBy(float delta) {
    heading += delta;
    if ((bank < bankLimit && delta < 0) || (bank > -bankLimit && delta > 0)) {
        bank -= delta;
    }
    if (heading > 360) {
        heading -= 360;
    } else if (heading < 0) {
        heading += 360;
    }
    refreshVelocity();
}

// Takes the heading from the vector one quadrant at a time, with the angle to +X from
// acos. The ratio is clamped because a vector so short that its squares underflow has a
// length of 0 and would otherwise turn the heading into NaN for the rest of the game.
void entity::setVelocity(vec2 v) {
    velocity = v;
    speed = velocity.distanceTo(vec2(0, 0));
    const float vx = velocity.x;
    const float vy = velocity.y;
    auto angleFromX = [&] {
        const float ratio = std::clamp(vx / speed, -1.0f, 1.0f);
        return toDegrees(std::acos(ratio));
    };
    if (vx > 0) {
        if (vy > 0) {
            heading = 90 - angleFromX();
        } else if (vy < 0) {
            heading = angleFromX() + 90;
        } else {
            heading = 90;
        }
    } else if (vx < 0) {
        if (vy > 0) {
            heading = 450 - angleFromX();
        } else if (vy < 0) {
            heading = angleFromX() + 90;
        } else {
            heading = 270;
        }
    } else {
        heading = vy < 0 ? 180 : 0;
    }
}

// Computed from heading and speed, never from the cached velocity.
vec2 entity::getVelocity() {
    headingRad = toRadians(heading);
    return vec2(std::sin(headingRad) * speed, std::cos(headingRad) * speed);
}

void entity::decayBank() {
    if (bank < 0) {
        bank += bankDecay;
    } else if (bank > 0) {
        bank -= bankDecay;
    }
}

void entity::advance() {
    headingRad = toRadians(heading);
    z += std::cos(headingRad) * speed;
    x += std::sin(headingRad) * speed;
}
