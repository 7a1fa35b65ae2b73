// Test entry for everything that needs OpenGL: the game's own window, current before any
// test runs. Without an X display GLUT says so.
#include <gtest/gtest.h>

#include "app/window.h"

// Present only in sanitized builds.
extern "C" __attribute__((weak)) void __lsan_do_leak_check();

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests (CMake does so at build time) needs no window.
    if (testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    openWindow(argc, argv, argv[0]);
    const int result = RUN_ALL_TESTS();
    // Check for leaks now: at exit GLUT closes the display and Mesa unloads its driver, whose
    // own allocations would then look leaked and could not be traced to suppress them.
    if (__lsan_do_leak_check != nullptr) {
        __lsan_do_leak_check();
    }
    return result;
}
