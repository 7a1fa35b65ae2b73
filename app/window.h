#pragma once

// Opens the game's one window and makes its OpenGL context current: double-buffered RGBA
// with a depth buffer, sized and placed as render/view.h says. glutInit takes its options
// out of argc and argv first. The game, the benchmarks and the tests that need OpenGL all
// open their window here, so each draws into the same kind of window.
void openWindow(int& argc, char** argv, const char* title);
