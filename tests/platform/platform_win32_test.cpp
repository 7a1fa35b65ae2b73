// The Windows sleeper raises the timer's resolution to 1 ms on its first sleep or wait, once,
// and gives it back at exit. Wine sleeps on Linux's fine timers and never shows the 15.6 ms
// steps of a sleep without it, so the calls themselves are counted.
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it builds on.
#include <mmsystem.h>

namespace {
UINT raised = 0, givenBack = 0; // the periods asked for, in milliseconds, summed
} // namespace

// The platform code calls winmm through its import pointers: defined here, they are taken
// before winmm's import library, and answer 0, success.
extern "C" {
decltype(&timeBeginPeriod) __imp_timeBeginPeriod = [](UINT ms) { return raised += ms, 0u; };
decltype(&timeEndPeriod) __imp_timeEndPeriod = [](UINT ms) { return givenBack += ms, 0u; };
}

// CTest runs each case in a process of its own, whose first sleep or wait raises it. The check
// at exit is registered before that, so it runs after the sleeper has given it back.
class TimerResolution : public testing::TestWithParam<void (*)(platform::time)> {};

TEST_P(TimerResolution, IsRaisedToOneMillisecondOnceWakingOnTimeAndGivenBackAtExit) {
    std::atexit([] {
        if (givenBack != 1) {
            std::fputs("the timer's resolution was not given back once at exit\n", stderr);
            std::_Exit(EXIT_FAILURE);
        }
    });
    for (int i = 0; i < 3; ++i) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2);
        GetParam()(until);
        EXPECT_GE(std::chrono::steady_clock::now(), until);
    }
    EXPECT_EQ(raised, 1u);
    EXPECT_EQ(givenBack, 0u);
}

// With no window there is no event: the wait lasts until its time.
INSTANTIATE_TEST_SUITE_P(Windows, TimerResolution,
                         testing::Values(platform::sleepUntil, platform::waitForEvents),
                         [](const auto& param) {
                             return std::string(param.index == 0 ? "Sleep" : "Wait");
                         });
