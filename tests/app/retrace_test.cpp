#include "app/retrace.h"

#include <gtest/gtest.h>

#include "tests/app/timeline.h"

// Returns of a 144 Hz display mostly two retraces apart, now and then three, once 1.5 ms
// late, fit the single retrace, not the common two; scattered ones fit no grid.
TEST(RetraceGrid, LearnsTheRetraceFromGapsOfWholeRetraces) {
    const nanoseconds retrace(6'944'444);
    retraceGrid fast, scattered;
    timeline t;
    for (int i = 1; i <= 20; ++i) {
        fast.swapReturned(t.now += (i % 10 != 0 ? 2 : 3) * retrace);
    }
    fast.swapReturned(t.now += 2 * retrace + 1500us);
    EXPECT_NEAR(fast.period() / 1ns, retrace / 1ns, 50'000);
    const nanoseconds scatter[] = {7000us, 12000us, 9500us, 14000us, 8000us, 11000us};
    for (int i = 0; i < 18; ++i) {
        scattered.swapReturned(t.now += scatter[i % 6]);
    }
    EXPECT_FALSE(scattered.known());
}
