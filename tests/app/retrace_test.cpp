#include "app/retrace.h"

#include <vector>

#include <gtest/gtest.h>

#include "tests/app/timeline.h"

// Nine gaps of one length, then one of another.
static std::vector<nanoseconds> mostly(nanoseconds usual, nanoseconds tenth) {
    std::vector<nanoseconds> gaps(9, usual);
    gaps.push_back(tenth);
    return gaps;
}

// Swaps return on the retraces of a 144 Hz display mostly two apart, now and then three:
// the grid is the single retrace, which fits every gap, not the common two. At 60 Hz now and
// then a missed retrace leaves the grid be. Either grid outlives a return 1.5 ms late;
// returns scattered as an unheld swap's are fit by no grid.
TEST(RetraceGrid, LearnsTheRetraceFromGapsOfWholeRetraces) {
    const nanoseconds at144(6'944'444), at60(16'666'667);
    const struct {
        const char* what;
        std::vector<nanoseconds> gaps; // repeated
        nanoseconds period;
    } cases[] = {
        {"144 Hz", mostly(2 * at144, 3 * at144), at144},
        {"60 Hz", mostly(at60, 2 * at60), at60},
        {"scattered", {7ms, 12ms, 9500us, 14ms, 8ms, 11ms}, 0ns},
    };
    for (const auto& c : cases) {
        retraceGrid grid;
        timeline t;
        for (size_t i = 0; i < 20; ++i) {
            grid.swapReturned(t.now += c.gaps[i % c.gaps.size()]);
        }
        grid.swapReturned(t.now += c.gaps[0] + 1500us);
        EXPECT_NEAR(grid.period() / 1ns, c.period / 1ns, 50'000) << c.what;
        EXPECT_EQ(grid.known(), c.period > 0ns) << c.what;
    }
}
