#include "app/retrace.h"

#include <algorithm>

using namespace std::chrono_literals;

namespace {

// Displays refresh between 24 and 250 times a second; a gap longer than a tenth of a second
// is a stall (the window dragged, the process stopped), which says nothing of the grid.
constexpr auto shortestRetrace = 4ms;
constexpr auto longestGap = 100ms;
// Returns jitter by the time the copy to the screen takes after the retrace: a gap may miss a
// whole number of retraces by this much, or by a sixteenth of a retrace on a slow display.
constexpr auto jitter = 1ms;
constexpr int jitterPerRetrace = 16;
// Gaps needed before a grid is trusted, and how many of them may miss it (a stalled frame).
constexpr int fewestGaps = 10;
constexpr int misfitsAllowed = 3;

} // namespace

void retraceGrid::forget() {
    gaps.clear();
    returned = false;
    retrace = 0ns;
}

void retraceGrid::swapReturned(time t) {
    if (returned && t - last <= longestGap && t > last) {
        gaps.push(t - last);
        fit();
    }
    last = t;
    returned = true;
}

// The retrace that the most gaps are a whole number of (the longest such, if several),
// refined over those gaps. The shortest gap is one or a few retraces, so the retrace is that
// gap divided by a small whole number. When more than a few gaps miss even the best, the
// returns were disturbed (a busy machine), and the grid found before stays.
void retraceGrid::fit() {
    if (gaps.size() < fewestGaps) {
        return;
    }
    const nanoseconds shortest = *std::min_element(gaps.begin(), gaps.end());
    int fewestMisfits = misfitsAllowed + 1;
    for (int d = 1; shortest / d >= shortestRetrace; ++d) {
        const nanoseconds candidate = shortest / d;
        const nanoseconds allowed = std::max<nanoseconds>(jitter, candidate / jitterPerRetrace);
        nanoseconds sum{0};
        long retraces = 0;
        int misfits = 0;
        for (const nanoseconds gap : gaps) {
            const long k = (gap + candidate / 2) / candidate;
            if (std::chrono::abs(gap - k * candidate) > allowed) {
                ++misfits;
            } else {
                sum += gap;
                retraces += k;
            }
        }
        if (misfits < fewestMisfits) {
            fewestMisfits = misfits;
            retrace = sum / retraces;
        }
    }
}

retraceGrid::time retraceGrid::retraceFrom(time t) const {
    if (t <= last) {
        return last;
    }
    return last + (t - last + retrace - 1ns) / retrace * retrace;
}
