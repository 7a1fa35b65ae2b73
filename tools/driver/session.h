#pragma once

// The real game driven from the outside: started on a private virtual X server in a scratch
// directory of its own, its window found and photographed over X, keys typed with xdotool,
// its output kept. The end-to-end tests and the paced-game benchmark both use it.

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <sys/types.h>

#include <X11/Xlib.h>

#include "tools/driver/process.h"
#include "tools/driver/scratch.h"
#include "tools/driver/xserver.h"

struct rgb {
    int r, g, b;
};

// A window's picture, row 0 at the top as X delivers it.
struct screenshot {
    int width = 0;
    int height = 0;
    std::vector<rgb> pixels; // row by row

    rgb at(int col, int row) const { return pixels[static_cast<size_t>(row) * width + col]; }
};

// The three image files the game reads, by their names in its working directory.
extern const std::vector<std::string> textureFiles;

// The share of a picture's pixels, sampled every 8th row and column, that are not black.
double litShare(const screenshot& s);

// The game, running on its own X server in its own scratch directory.
class gameSession {
  public:
    struct options {
        std::string binary;                               // path of skyhunt
        std::vector<std::string> textures = textureFiles; // copied from beside the binary
        bool relativePath = false;          // started by a path relative to its working directory
        std::vector<std::string> arguments; // after the game's path
        // A program the game is started through, with its own arguments (say {"wine"} for
        // skyhunt.exe): it is given the game's path, which stays the game's window title.
        std::vector<std::string> launcher;
        xServerOptions server;
        // On top of the caller's environment, less SKYHUNT_DATADIR: a game under test finds
        // its files only where the test puts them.
        envList env;
    };

    explicit gameSession(const options& o);

    // The X display the game runs on, for a connection of the caller's own.
    const std::string& display() const { return server.display(); }
    // The path the game was started by, which becomes its window title.
    const std::string& invokedAs() const { return argv0; }
    pid_t pid() const { return game->id(); }
    bool running() { return game->running(); }
    // The exit status once the game has ended; nothing while it runs.
    std::optional<int> exitStatus() { return game->waitExit(std::chrono::milliseconds(0)); }
    // Taken just before the game starts, on std::chrono::steady_clock.
    std::chrono::steady_clock::time_point startedAt() const { return started; }

    // The game's top-level window once it is mapped; 0 if none appeared in time.
    Window window(std::chrono::seconds timeout = std::chrono::seconds(60));
    std::string title();
    // Width, height and position relative to the screen.
    struct geometry {
        int width, height, x, y;
    };
    geometry windowGeometry();
    void resize(int width, int height);
    // Unmaps the window, as a minimised one is, or maps it again (xdotool).
    void setMapped(bool mapped);

    screenshot capture();
    // Screenshots until one satisfies the condition or the time is up; returns the last.
    template <typename condition>
    screenshot awaitShot(condition ok, std::chrono::milliseconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        screenshot s = capture();
        while (!ok(s) && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            s = capture();
        }
        return s;
    }
    // Waits for the first frame: a window mostly covered by something other than black.
    bool awaitFirstFrame(std::chrono::seconds timeout = std::chrono::seconds(60));

    // Types xdotool key names ("w", "T", "space", "Escape") into the window, in order, the
    // gap apart; false if xdotool failed or took more than 30 s.
    bool press(const std::vector<std::string>& keys,
               std::chrono::milliseconds gap = std::chrono::milliseconds(40));
    // Escape, then the exit status; nothing if the game is still running after the wait.
    std::optional<int> quit(std::chrono::seconds timeout = std::chrono::seconds(60));
    // Sends the game a signal (SIGTERM, as a session's end or kill does), then the exit status;
    // nothing if the game is still running after the wait.
    std::optional<int> end(int signal, std::chrono::seconds timeout = std::chrono::seconds(60));
    // Everything the game wrote on standard output, or on standard error, so far (all of it
    // once it has ended).
    std::string output() const;
    std::string errors() const;

  private:
    // Declared in this order so that the game goes first, then its files, then its server.
    xServer server;
    scratchDir dir;
    std::string argv0;
    std::chrono::steady_clock::time_point started;
    std::optional<childProcess> game;
    Window win;
    bool focused;
};
