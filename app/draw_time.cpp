#include "app/draw_time.h"

#include <algorithm>
#include <functional>

void drawTimePredictor::record(nanoseconds time) {
    drawn[next] = time;
    next = (next + 1) % window;
    count = std::min(count + 1, window);

    std::array<nanoseconds, window> sorted{};
    const auto end = std::copy_n(drawn.begin(), count, sorted.begin());
    const int rank = std::min(rankFromTop, count) - 1;
    std::nth_element(sorted.begin(), sorted.begin() + rank, end, std::greater<>());
    nanoseconds longestRecent{0};
    for (int i = 1; i <= std::min(recent, count); ++i) {
        longestRecent = std::max(longestRecent, drawn[(next - i + window) % window]);
    }
    prediction = std::max(sorted[rank], longestRecent);
}
