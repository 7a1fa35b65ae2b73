#pragma once

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
