#pragma once

#include <algorithm>
#include <array>

// The latest n values recorded, the oldest dropped first: the frame loop keeps the gaps
// between swap returns (app/retrace.h) and the frames' drawing times (app/draw_time.h) in
// one.
template <typename value, int n>
class ring {
  public:
    void push(value v) {
        values[next] = v;
        next = (next + 1) % n;
        held = std::min(held + 1, n);
    }
    void clear() {
        held = 0;
        next = 0;
    }
    int size() const { return held; }
    // The i-th newest value, 0 the newest; i below size().
    value newest(int i) const { return values[(next - 1 - i + n) % n]; }
    // The values held, in no particular order: they fill the front until the ring is full.
    const value* begin() const { return values.data(); }
    const value* end() const { return values.data() + held; }

  private:
    std::array<value, n> values{};
    int held = 0;
    int next = 0;
};
