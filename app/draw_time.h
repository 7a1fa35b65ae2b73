#pragma once

#include <chrono>

#include "app/ring.h"

// How long the next frame will take to draw, judged from the game's own recent frames
// (from the frame's first GL call to the end of its drawing). The frame loop starts each
// frame that long before it is due, so the prediction errs long: the third longest of the
// last second of frames (its 95th percentile), or the longest of the last few when that is
// longer, since a machine that just stalled a frame tends to stall the next ones too. A
// slower renderer or a bigger window moves it by itself within a second.
class drawTimePredictor {
  public:
    using nanoseconds = std::chrono::nanoseconds;

    void record(nanoseconds drawn);
    // Nothing before the first frame is recorded.
    nanoseconds predicted() const { return prediction; }

  private:
    static constexpr int window = 60;     // frames: a second at 60 a second
    static constexpr int rankFromTop = 3; // the third longest of the window
    static constexpr int recent = 6;      // frames: a tenth of a second

    ring<nanoseconds, window> drawn;
    nanoseconds prediction{0};
};
