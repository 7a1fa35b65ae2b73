#include "world/vec2.h"

#include <cmath>

vec2& vec2::add(const vec2& o) {
    x += o.x;
    y += o.y;
    return *this;
}

vec2& vec2::subtract(const vec2& o) {
    x -= o.x;
    y -= o.y;
    return *this;
}

vec2 vec2::scaled(float s) const {
    return vec2(x * s, y * s);
}

// Squares are rounded to float, summed in double, and the root taken in double: the
// steering bands compare against this exact value.
float vec2::distanceTo(vec2 o) const {
    const float dx = o.x - x;
    const float dxSquared = dx * dx;
    const float dy = o.y - y;
    const float dySquared = dy * dy;
    const float sum = static_cast<float>(static_cast<double>(dxSquared) + dySquared);
    return static_cast<float>(std::sqrt(static_cast<double>(sum)));
}
