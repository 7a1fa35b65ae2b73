#pragma once

#include <chrono>

#include "app/clock.h"
#include "tests/support/expected.h"

using std::chrono::nanoseconds;
using namespace std::chrono_literals;

constexpr nanoseconds tick{1'000'000'000 / expected::ticksPerSecond};

// A fake time line for the clocks: it moves only when a test or a sleep moves it.
struct timeline {
    tickClock::time now = tickClock::time(std::chrono::seconds(1000));
    tickClock::nowSource source() {
        return [this] { return now; };
    }
};
