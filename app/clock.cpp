#include "app/clock.h"

#include <algorithm>
#include <utility>

using std::chrono::nanoseconds;

tickClock worldClock;

tickClock::tickClock() : tickClock(std::chrono::steady_clock::now) {}

tickClock::tickClock(nowSource now) : now(std::move(now)) {}

void tickClock::start() {
    running = true;
    counting = false;
    residual = nanoseconds(0);
    runLength = 0;
}

int tickClock::ticksOwed() {
    if (!running) {
        return 1;
    }
    const time t = now();
    if (!counting) {
        counting = true;
        last = t;
        return 1;
    }
    // A time source that steps back is taken as no time passing.
    const nanoseconds elapsed =
        std::max(std::chrono::duration_cast<nanoseconds>(t - last), nanoseconds(0));
    last = t;
    if (elapsed > maxTicksPerEvent * period) {
        // A hitch: what the steady pace and the residual knew no longer holds.
        residual = nanoseconds(0);
        runLength = 0;
        return maxTicksPerEvent;
    }
    judgePace(elapsed);

    // Rounds to the nearest tick: residual + elapsed + period / 2 lies in [0, 5 periods),
    // so integer division floors and never owes more than the hitch limit. A steady display
    // that drifts off the beat (59.94 Hz) keeps its pace: the drift is dropped at the
    // residual's bound rather than run as an extra or a missing tick.
    residual += elapsed;
    const int steady = steadyTicksPerEvent();
    const int owed = steady > 0 ? steady : static_cast<int>((residual + period / 2) / period);
    residual = std::clamp(residual - owed * period, -period / 2, period / 2 - nanoseconds(1));
    return owed;
}

// An interval that rounds to another whole number of ticks than the run before it starts a
// new run.
void tickClock::judgePace(nanoseconds interval) {
    const int ticks = static_cast<int>((interval + period / 2) / period);
    if (runLength == 0 || ticks != paceTicks) {
        paceTicks = ticks;
        runLength = 0;
        runSum = nanoseconds(0);
    }
    ++runLength;
    runSum += interval;
}

// The whole number of ticks that every interval of a run of at least paceIntervals is, give
// or take half a tick of jitter, with the run's mean within the pace tolerance of it; 0
// while there is no such pace. A display that mixes one and two retraces may average a
// tick, but is not steady: rounding its short frames up would run the game fast.
int tickClock::steadyTicksPerEvent() const {
    if (runLength < paceIntervals || paceTicks < 1) {
        return 0;
    }
    const nanoseconds target = paceTicks * period;
    const nanoseconds off = runSum / runLength - target;
    const nanoseconds allowed = target / paceTolerance;
    return off <= allowed && -off <= allowed ? paceTicks : 0;
}
