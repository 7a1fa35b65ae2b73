#pragma once

// What differs between the systems the game runs on. Each system has its own source files
// here (_posix, _x11, _win32, _web); nothing else in the game asks which system it is on.

#include <chrono>
#include <filesystem>

namespace platform {

using time = std::chrono::steady_clock::time_point;

// The folder of the running executable, read from the system itself, never from argv[0] or
// the working directory, so the game finds its data however it was started. Empty if the
// system cannot tell.
std::filesystem::path executableFolder();

// Blocks until the given time on the steady clock, waking within about a millisecond of it
// (on Windows the timer's resolution is raised to 1 ms for the game's lifetime).
void sleepUntil(time until);

// Blocks until the window system has an event waiting for the game's window, or until the
// given time, whichever comes first. Needs the game's window open: it waits on that window's
// connection to the window system.
void waitForEvents(time until);

} // namespace platform
