#pragma once

// A point or a displacement on the ground plane: x is world X, y is world Z.
class vec2 {
  public:
    float x, y;

    vec2() : x(0), y(0) {}
    vec2(float x, float y) : x(x), y(y) {}

    float getX() const { return x; }
    float getY() const { return y; }
    void setX(float v) { x = v; }
    void setY(float v) { y = v; }

    // In place, returning *this so steering can chain target.subtract(own).add(vel).
    vec2& add(const vec2& o);
    vec2& subtract(const vec2& o);

    vec2 scaled(float s) const;
    float distanceTo(vec2 o) const;
};
