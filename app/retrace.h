#pragma once

#include <chrono>

#include "app/ring.h"

// What the game learns of a display that holds each swap until its next retrace, from the
// times its swaps return: such a swap returns just after a retrace, so the returns lie on
// the retraces' grid, every gap between them a whole number of retraces. Knowing the grid,
// the frame loop can time a frame to be finished just before the retrace that shows it.
// Frames that judge the display together, and gaps that fit the grid: half a second at 60 a
// second, long enough that a stalled frame or two cannot sway either.
constexpr int halfSecondOfFrames = 30;

class retraceGrid {
  public:
    using time = std::chrono::steady_clock::time_point;
    using nanoseconds = std::chrono::nanoseconds;

    void swapReturned(time t);
    // Starts learning afresh, as after the window was hidden.
    void forget();

    // Whether the gaps of half a second have fit one grid since learning began; period and
    // retraceFrom are meaningful only then.
    bool known() const { return retrace.count() > 0; }
    nanoseconds period() const { return retrace; }
    time lastReturn() const { return last; }
    // The first retrace at or after t, counted from the latest return.
    time retraceFrom(time t) const;

  private:
    void fit();

    ring<nanoseconds, halfSecondOfFrames> gaps;
    time last{};
    bool returned = false;
    nanoseconds retrace{0}; // 0 until a grid fits
};
