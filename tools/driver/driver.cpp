#include "tools/driver/driver.h"

#include "assets/data_path.h"
#include "assets/texture_files.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xutil.h>

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::vector<std::string> textureFiles(std::begin(texture::fileNames),
                                            std::end(texture::fileNames));

// ---- child processes ---------------------------------------------------------------------

namespace {

// The caller's environment less the dropped names, with the overrides replacing or adding
// entries.
std::vector<std::string> mergedEnvironment(const envList& overrides,
                                           const std::vector<std::string>& dropped) {
    std::vector<std::string> out;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = std::find(dropped.begin(), dropped.end(), name) != dropped.end();
        for (const auto& o : overrides) {
            replaced = replaced || o.first == name;
        }
        if (!replaced) {
            out.push_back(entry);
        }
    }
    for (const auto& o : overrides) {
        out.push_back(o.first + "=" + o.second);
    }
    return out;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (auto& s : strings) {
        out.push_back(s.data());
    }
    out.push_back(nullptr);
    return out;
}

int decodeStatus(int raw) {
    if (WIFEXITED(raw)) {
        return WEXITSTATUS(raw);
    }
    return 128 + WTERMSIG(raw);
}

} // namespace

childProcess::childProcess(const launch& how) : pid(-1) {
    std::vector<std::string> args = how.argv;
    std::vector<std::string> env = mergedEnvironment(how.env, how.dropped);
    std::vector<char*> argp = pointers(args);
    std::vector<char*> envp = pointers(env);
    const pid_t parent = getpid();

    pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed: " + std::string(std::strerror(errno)));
    }
    if (pid == 0) {
        // Only async-signal-safe calls from here to exec.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(127);
        }
        if (!how.workDir.empty() && chdir(how.workDir.c_str()) != 0) {
            _exit(127);
        }
        const std::pair<const std::string*, int> redirects[] = {{&how.outputPath, STDOUT_FILENO},
                                                                {&how.errorPath, STDERR_FILENO}};
        for (const auto& r : redirects) {
            if (!r.first->empty()) {
                const int fd = open(r.first->c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                if (fd < 0 || dup2(fd, r.second) < 0) {
                    _exit(127);
                }
                close(fd);
            }
        }
        if (how.keepFd >= 0) {
            fcntl(how.keepFd, F_SETFD, 0);
        }
        execvpe(how.file.c_str(), argp.data(), envp.data());
        _exit(127);
    }
}

childProcess::~childProcess() {
    if (running()) {
        kill(pid, SIGTERM);
        if (!waitExit(5s)) {
            kill(pid, SIGKILL);
            reap(true);
        }
    }
}

bool childProcess::reap(bool block) {
    if (status) {
        return true;
    }
    int raw = 0;
    const pid_t r = waitpid(pid, &raw, block ? 0 : WNOHANG);
    if (r == pid) {
        status = decodeStatus(raw);
        return true;
    }
    return false;
}

bool childProcess::running() {
    return !reap(false);
}

std::optional<int> childProcess::waitExit(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!reap(false)) {
        if (std::chrono::steady_clock::now() >= end) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(10ms);
    }
    return status;
}

// ---- X server ----------------------------------------------------------------------------

namespace {

// Xlib's default handler ends the program on any protocol error; a window that goes away
// between two requests is an ordinary event here, not a reason to stop.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

// Larger than the game's 800 x 600 window at (50, 50), so that none of it is cut off; the
// scripts' virtual X servers use the same screen (scripts/lib/setup.sh).
constexpr const char* screenSize = SKYHUNT_XVFB_SCREEN;

} // namespace

xServer::xServer() : dpy(nullptr) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    childProcess::launch how;
    how.file = "Xvfb";
    how.argv = {"Xvfb",      "-displayfd", std::to_string(fds[1]),
                "-screen",   "0",          screenSize,
                "-nolisten", "tcp",        "-noreset"};
    how.keepFd = fds[1];
    how.errorPath = "/dev/null"; // its start-up chatter would bury the caller's own messages
    server.emplace(how);
    close(fds[1]);

    // Xvfb writes the display number it chose once it accepts connections.
    std::string number;
    const auto end = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            char c;
            if (read(fds[0], &c, 1) != 1 || c == '\n') {
                break;
            }
            number += c;
        }
    }
    close(fds[0]);
    if (number.empty()) {
        throw std::runtime_error("Xvfb did not start (is it installed?)");
    }
    name = ":" + number;
    XSetErrorHandler(ignoreXError);
    dpy = XOpenDisplay(name.c_str());
    if (dpy == nullptr) {
        throw std::runtime_error("cannot connect to Xvfb on " + name);
    }
}

xServer::~xServer() {
    if (dpy != nullptr) {
        XCloseDisplay(dpy);
    }
}

// ---- scratch directory -------------------------------------------------------------------

scratchDir::scratchDir() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr ? tmp : "/tmp") + "/skyhunt-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch directory");
    }
    where = pattern;
}

scratchDir::~scratchDir() {
    std::error_code ignored;
    fs::remove_all(where, ignored);
}

// ---- process figures ---------------------------------------------------------------------

std::optional<processFigures> readProcessFigures(pid_t pid) {
    const std::string base = "/proc/" + std::to_string(pid);
    std::ifstream status(base + "/status");
    std::ifstream stat(base + "/stat");
    if (!status || !stat) {
        return std::nullopt;
    }
    processFigures f{-1, -1, 0};
    std::string line;
    while (std::getline(status, line)) {
        std::istringstream words(line);
        std::string key;
        long value = 0;
        words >> key >> value;
        if (key == "VmRSS:") {
            f.residentKiB = value;
        } else if (key == "VmHWM:") {
            f.peakResidentKiB = value;
        }
    }
    // The command name in parentheses may hold spaces; the fields after it do not.
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t close = all.rfind(')');
    if (close == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(all.substr(close + 1));
    std::vector<std::string> after;
    std::string w;
    while (fields >> w) {
        after.push_back(w);
    }
    // Fields 14 and 15 of the whole line; the list starts at field 3.
    if (after.size() < 13 || f.residentKiB < 0) {
        return std::nullopt;
    }
    const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
    f.cpuSeconds = (std::stod(after[11]) + std::stod(after[12])) / tick;
    return f;
}

// ---- the game ----------------------------------------------------------------------------

gameSession::gameSession(const options& o) : win(0), focused(false) {
    const fs::path binary = fs::absolute(o.binary);
    for (const auto& t : o.textures) {
        fs::copy_file(binary.parent_path() / t, fs::path(dir.path()) / t);
    }
    argv0 = o.relativePath ? fs::relative(binary, dir.path()).string() : binary.string();

    childProcess::launch how;
    how.argv = o.launcher;
    how.argv.push_back(argv0);
    how.file = how.argv.front();
    how.workDir = dir.path();
    how.env = o.env;
    how.env.emplace_back("DISPLAY", server.display());
    how.dropped = {dataDirVariable};
    how.outputPath = dir.path() + "/.stdout";
    how.errorPath = dir.path() + "/.stderr";
    started = std::chrono::steady_clock::now();
    game.emplace(how);
}

Window gameSession::window(std::chrono::seconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    Display* dpy = server.connection();
    while (win == 0 && std::chrono::steady_clock::now() < end && game->running()) {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count) != 0) {
            // No window manager runs here, so the game's window is a child of the root. Wine
            // maps a 1 x 1 window of its own beside a Windows game's.
            for (unsigned int i = 0; i < count && win == 0; ++i) {
                XWindowAttributes a;
                if (XGetWindowAttributes(dpy, children[i], &a) != 0 && a.map_state == IsViewable &&
                    a.width > 1) {
                    win = children[i];
                }
            }
            XFree(children);
        }
        if (win == 0) {
            std::this_thread::sleep_for(50ms);
        }
    }
    return win;
}

std::string gameSession::title() {
    char* name = nullptr;
    if (window() == 0 || XFetchName(server.connection(), win, &name) == 0 || name == nullptr) {
        return "";
    }
    std::string out = name;
    XFree(name);
    return out;
}

gameSession::geometry gameSession::windowGeometry() {
    geometry g{0, 0, 0, 0};
    XWindowAttributes a;
    if (window() == 0 || XGetWindowAttributes(server.connection(), win, &a) == 0) {
        return g;
    }
    Window child = 0;
    XTranslateCoordinates(server.connection(), win, DefaultRootWindow(server.connection()), 0, 0,
                          &g.x, &g.y, &child);
    g.width = a.width;
    g.height = a.height;
    return g;
}

void gameSession::resize(int width, int height) {
    if (window() != 0) {
        XResizeWindow(server.connection(), win, static_cast<unsigned>(width),
                      static_cast<unsigned>(height));
        XSync(server.connection(), False);
    }
}

namespace {

int shiftOf(unsigned long mask) {
    int s = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++s;
    }
    return s;
}

} // namespace

screenshot gameSession::capture() {
    XWindowAttributes a;
    if (window() == 0 || XGetWindowAttributes(server.connection(), win, &a) == 0) {
        return screenshot();
    }
    XImage* img = XGetImage(server.connection(), win, 0, 0, static_cast<unsigned>(a.width),
                            static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
    if (img == nullptr) {
        return screenshot();
    }
    screenshot out{a.width, a.height, {}};
    out.pixels.reserve(static_cast<size_t>(a.width) * a.height);
    const int rs = shiftOf(img->red_mask);
    const int gs = shiftOf(img->green_mask);
    const int bs = shiftOf(img->blue_mask);
    for (int row = 0; row < a.height; ++row) {
        for (int col = 0; col < a.width; ++col) {
            const unsigned long p = XGetPixel(img, col, row);
            out.pixels.push_back({static_cast<int>((p & img->red_mask) >> rs),
                                  static_cast<int>((p & img->green_mask) >> gs),
                                  static_cast<int>((p & img->blue_mask) >> bs)});
        }
    }
    XDestroyImage(img);
    return out;
}

bool gameSession::awaitFirstFrame(std::chrono::seconds timeout) {
    if (window(timeout) == 0) {
        return false;
    }
    const auto drawn = [](const screenshot& s) {
        int lit = 0, seen = 0;
        for (int row = 0; row < s.height; row += 8) {
            for (int col = 0; col < s.width; col += 8) {
                const rgb p = s.at(col, row);
                lit += (p.r + p.g + p.b) > 0 ? 1 : 0;
                ++seen;
            }
        }
        return seen > 0 && lit * 2 > seen;
    };
    return drawn(awaitShot(drawn, timeout));
}

void gameSession::press(const std::vector<std::string>& keys) {
    if (window() == 0) {
        return;
    }
    if (!focused) {
        // With no window manager, keys go where the focus is put by hand.
        XSetInputFocus(server.connection(), win, RevertToPointerRoot, CurrentTime);
        XSync(server.connection(), False);
        focused = true;
    }
    childProcess::launch how;
    how.file = "xdotool";
    how.argv = {"xdotool", "key", "--delay", "40"};
    how.argv.insert(how.argv.end(), keys.begin(), keys.end());
    how.env = {{"DISPLAY", server.display()}};
    childProcess typist(how);
    typist.waitExit(30s);
}

void gameSession::setMapped(bool mapped) {
    if (window() == 0) {
        return;
    }
    // As a window manager does, the window is marked iconic (ICCCM's WM_STATE) as it is
    // unmapped and normal as it is mapped again: Wine minimises and restores a Windows game's
    // window on that mark, once it has seen the window normal.
    Display* dpy = server.connection();
    const Atom wmState = XInternAtom(dpy, "WM_STATE", False);
    for (const long state : {long{NormalState}, mapped ? long{NormalState} : long{IconicState}}) {
        const long data[2] = {state, None};
        XChangeProperty(dpy, win, wmState, wmState, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data), 2);
        XSync(dpy, False);
    }
    childProcess::launch how;
    how.file = "xdotool";
    how.argv = {"xdotool", mapped ? "windowmap" : "windowunmap", "--sync", std::to_string(win)};
    how.env = {{"DISPLAY", server.display()}};
    childProcess(how).waitExit(30s);
    if (mapped) {
        focused = false; // an unmapped window loses the focus
    }
}

std::optional<int> gameSession::quit(std::chrono::seconds timeout) {
    press({"Escape"});
    return game->waitExit(timeout);
}

namespace {

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

std::string gameSession::output() const {
    return fileText(dir.path() + "/.stdout");
}

std::string gameSession::errors() const {
    return fileText(dir.path() + "/.stderr");
}
