#pragma once

// What differs between the systems the game runs on. Each system has its own source files
// here (_posix, _x11, _win32, _web); nothing else in the game asks which system it is on.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

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

// A file opened for reading, or why it was not.
struct openedFile {
    std::FILE* stream; // binary; the caller closes it. Null when not opened.
    // Something other than a plain file stands at the path: what it is ("a directory", "a
    // FIFO"); nothing is read from it.
    const char* notAFile;
    // The system's reason the file could not be opened; empty when nothing is there.
    std::string failure;
};

// Opens a plain file for reading without ever blocking: a FIFO with no writer would hold an
// ordinary open for good. What the path names is told by the open file itself, not asked
// before, so nothing can be swapped in between.
openedFile openPlainFile(const char* path);

} // namespace platform
