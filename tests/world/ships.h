#pragma once

#include <cstdlib>

#include "world/fighter.h"

// A ship at p (X, Z) with a heading in degrees and a speed in world units per tick.
inline fighter flying(vec2 p, float heading, float speed) {
    fighter f;
    f.x = p.x;
    f.z = p.y;
    f.turnBy(heading);
    f.setSpeed(speed);
    return f;
}

// Seeds rand() so that the next wander draws a bearing of 0: a ship at p then heads for
// p + (15, 0), read as a bearing from the origin.
inline void seedWanderAtBearingZero() {
    unsigned seed = 1;
    for (std::srand(seed); std::rand() % 360 != 0; std::srand(++seed)) {
    }
    std::srand(seed);
}
