// Test entry for everything that needs OpenGL: one 800x600 double-buffered GLUT window, as
// the game makes it, current before any test runs. Without an X display GLUT says so.
#include <GL/glut.h>
#include <gtest/gtest.h>

// Present only in sanitized builds.
extern "C" __attribute__((weak)) void __lsan_do_leak_check();

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests (CMake does so at build time) needs no window.
    if (testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(800, 600);
    glutCreateWindow(argv[0]);
    const int result = RUN_ALL_TESTS();
    // Check for leaks now: at exit GLUT closes the display and Mesa unloads its driver, whose
    // own allocations would then look leaked and could not be traced to suppress them.
    if (__lsan_do_leak_check != nullptr) {
        __lsan_do_leak_check();
    }
    return result;
}
