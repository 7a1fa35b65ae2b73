#include "app/clock.h"

#include <algorithm>
#include <utility>

using std::chrono::nanoseconds;

tickClock worldClock;

tickClock::tickClock() : tickClock(std::chrono::steady_clock::now) {}

tickClock::tickClock(nowSource now) : now(std::move(now)) {}

void tickClock::start() {
    running = true;
    residual = nanoseconds(0);
    forgetPace();
}

void tickClock::stop() {
    running = false;
}

int tickClock::ticksOwed() {
    if (!running) {
        return 1;
    }
    const time t = now();
    if (recentCount == 0) { // the first event since start
        last = t;
        remember(t);
        return 1;
    }
    // A time source that steps back is taken as no time passing.
    const nanoseconds elapsed =
        std::max(std::chrono::duration_cast<nanoseconds>(t - last), nanoseconds(0));
    last = t;
    if (elapsed > maxTicksPerEvent * period) {
        // A hitch: what the steady pace and the residual knew no longer holds.
        residual = nanoseconds(0);
        forgetPace();
        remember(t);
        return maxTicksPerEvent;
    }
    remember(t);

    // Rounds to the nearest tick: residual + elapsed + period / 2 lies in [0, 5 periods),
    // so integer division floors and never owes more than the hitch limit.
    residual += elapsed;
    int owed = static_cast<int>((residual + period / 2) / period);
    const int steady = steadyTicksPerEvent();
    if (steady > 0 && owed != steady) {
        // A steady display that drifts off the beat (59.94 Hz) keeps its pace: the drift
        // is dropped at the residual's bound rather than run as an extra or missing tick.
        owed = steady;
        residual = std::clamp(residual - owed * period, -period / 2, period / 2 - nanoseconds(1));
        return owed;
    }
    residual -= owed * period;
    return owed;
}

void tickClock::remember(time t) {
    recent[recentNext] = t;
    recentNext = (recentNext + 1) % paceEvents;
    if (recentCount < paceEvents) {
        ++recentCount;
    }
}

void tickClock::forgetPace() {
    recentCount = 0;
    recentNext = 0;
}

// The whole number of ticks that every one of the last paceEvents intervals is, give or take
// half a tick of jitter, and their mean is, within the pace tolerance; 0 while there is no
// such pace. A display that mixes one and two retraces may average a tick, but is not
// steady: rounding its short frames up would run the game fast.
int tickClock::steadyTicksPerEvent() const {
    if (recentCount < paceEvents) {
        return 0;
    }
    const time newest = recent[(recentNext + paceEvents - 1) % paceEvents];
    const time oldest = recent[recentNext];
    const nanoseconds mean = (newest - oldest) / (paceEvents - 1);
    const int n = static_cast<int>((mean + period / 2) / period);
    if (n < 1 || n > maxTicksPerEvent) {
        return 0;
    }
    const nanoseconds allowed = n * period / paceTolerance;
    if (mean - n * period > allowed || n * period - mean > allowed) {
        return 0;
    }
    for (int i = 1; i < paceEvents; ++i) {
        const nanoseconds interval =
            recent[(recentNext + i) % paceEvents] - recent[(recentNext + i - 1) % paceEvents];
        if (interval - n * period >= period / 2 || n * period - interval >= period / 2) {
            return 0;
        }
    }
    return n;
}
