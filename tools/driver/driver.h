#pragma once

// Drives the real game from the outside: a private virtual X server, the game started in
// a scratch directory of its own, keys typed with xdotool, screenshots read back over X,
// and what the kernel knows of the process (exit status, resident memory, processor time).
// The end-to-end tests and the paced-game benchmark both use it.

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <sys/types.h>

#include <X11/Xlib.h>

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

// Environment overrides for a child: name and value.
using envList = std::vector<std::pair<std::string, std::string>>;

// One child process, killed when the object goes unless it has ended already. Every child
// also dies with the program that started it, so a crash leaves no X server behind.
class childProcess {
  public:
    struct launch {
        std::string file;                 // what to execute; a bare name is looked up in PATH
        std::vector<std::string> argv;    // argv[0] is passed exactly as given
        std::string workDir;              // empty: the caller's
        envList env;                      // on top of the caller's environment
        std::vector<std::string> dropped; // names of the caller's environment left out
        std::string outputPath;           // standard output goes here; empty: the caller's
        std::string errorPath;            // standard error likewise
        int keepFd = -1;                  // a descriptor the child inherits
    };

    explicit childProcess(const launch& how);
    ~childProcess();
    childProcess(const childProcess&) = delete;
    childProcess& operator=(const childProcess&) = delete;

    pid_t id() const { return pid; }
    bool running();
    // The exit status once the process has ended (128 + n for a signal n); nothing if it
    // is still running when the time is up.
    std::optional<int> waitExit(std::chrono::milliseconds timeout);

  private:
    bool reap(bool block);

    pid_t pid;
    std::optional<int> status;
};

// Xvfb on a display number that the server picks itself, so runs in parallel never share
// a screen, and one Xlib connection to it.
class xServer {
  public:
    xServer();
    ~xServer();
    xServer(const xServer&) = delete;
    xServer& operator=(const xServer&) = delete;

    const std::string& display() const { return name; }
    Display* connection() const { return dpy; }

  private:
    std::string name;
    Display* dpy;
    std::optional<childProcess> server;
};

// A directory under $TMPDIR removed with everything in it when the object goes.
class scratchDir {
  public:
    scratchDir();
    ~scratchDir();
    scratchDir(const scratchDir&) = delete;
    scratchDir& operator=(const scratchDir&) = delete;

    const std::string& path() const { return where; }

  private:
    std::string where;
};

// What the kernel reports of a running process.
struct processFigures {
    long residentKiB;     // VmRSS
    long peakResidentKiB; // VmHWM
    double cpuSeconds;    // user and system, all threads
};
std::optional<processFigures> readProcessFigures(pid_t pid);

// The three image files the game reads, by their names in its working directory.
extern const std::vector<std::string> textureFiles;

// The game, running on its own X server in its own scratch directory.
class gameSession {
  public:
    struct options {
        std::string binary;                               // path of skyhunt
        std::vector<std::string> textures = textureFiles; // copied from beside the binary
        bool relativePath = false; // started by a path relative to its working directory
        // A command the game is started through, with its arguments: Wine for a Windows game.
        std::vector<std::string> launcher;
        // On top of the caller's environment, less SKYHUNT_DATADIR: a game under test finds
        // its files only where the test puts them.
        envList env;
    };

    explicit gameSession(const options& o);

    // The path the game was started by, which becomes its window title.
    const std::string& invokedAs() const { return argv0; }
    pid_t pid() const { return game->id(); }
    bool running() { return game->running(); }
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

    // Types xdotool key names ("w", "T", "space", "Escape") into the window, in order.
    void press(const std::vector<std::string>& keys);
    // Escape, then the exit status; nothing if the game is still running after the wait.
    std::optional<int> quit(std::chrono::seconds timeout = std::chrono::seconds(60));
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
