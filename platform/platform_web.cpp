// The browser: the page has one thread, which must return to the browser between frames, and
// no executable on a disk. The game's files are embedded in the page, in the working directory
// of its file system, where the search for a data file looks first.
#include "platform/platform.h"

#include <chrono>

namespace platform {

std::filesystem::path executableFolder() {
    return {};
}

// The browser's loop never asks for a sleep (its frames come on the animation frames); one
// asked for all the same holds the thread, since a page cannot block.
void sleepUntil(time until) {
    while (std::chrono::steady_clock::now() < until) {
    }
}

// Events reach the page between the animation frames, never during a call: nothing to wait on.
void waitForEvents(time) {}

} // namespace platform
