#include "app/draw_time.h"

#include <algorithm>
#include <array>
#include <functional>

void drawTimePredictor::record(nanoseconds time) {
    drawn.push(time);
    std::array<nanoseconds, window> sorted{};
    const auto end = std::copy(drawn.begin(), drawn.end(), sorted.begin());
    const int rank = std::min(rankFromTop, drawn.size()) - 1;
    std::nth_element(sorted.begin(), sorted.begin() + rank, end, std::greater<>());
    nanoseconds longestRecent{0};
    for (int i = 0; i < std::min(recent, drawn.size()); ++i) {
        longestRecent = std::max(longestRecent, drawn.newest(i));
    }
    prediction = std::max(sorted[rank], longestRecent);
}
