#include "tools/driver/session.h"

#include "assets/data_path.h"
#include "assets/texture_files.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

#include <X11/Xutil.h>
#include <signal.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::vector<std::string> textureFiles(std::begin(texture::fileNames),
                                            std::end(texture::fileNames));

gameSession::gameSession(const options& o) : server(o.server), win(0), focused(false) {
    const fs::path binary = fs::absolute(o.binary);
    for (const auto& t : o.textures) {
        fs::copy_file(binary.parent_path() / t, fs::path(dir.path()) / t);
    }
    argv0 = o.relativePath ? fs::relative(binary, dir.path()).string() : binary.string();

    childProcess::launch how;
    how.argv = o.launcher;
    how.argv.push_back(argv0);
    how.argv.insert(how.argv.end(), o.arguments.begin(), o.arguments.end());
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

double litShare(const screenshot& s) {
    int lit = 0, seen = 0;
    for (int row = 0; row < s.height; row += 8) {
        for (int col = 0; col < s.width; col += 8) {
            const rgb p = s.at(col, row);
            lit += (p.r + p.g + p.b) > 0 ? 1 : 0;
            ++seen;
        }
    }
    return static_cast<double>(lit) / std::max(1, seen);
}

bool gameSession::awaitFirstFrame(std::chrono::seconds timeout) {
    if (window(timeout) == 0) {
        return false;
    }
    const auto drawn = [](const screenshot& s) { return litShare(s) > 0.5; };
    return drawn(awaitShot(drawn, timeout));
}

bool gameSession::press(const std::vector<std::string>& keys, std::chrono::milliseconds gap) {
    if (window() == 0) {
        return false;
    }
    if (!focused) {
        // With no window manager, keys go where the focus is put by hand.
        XSetInputFocus(server.connection(), win, RevertToPointerRoot, CurrentTime);
        XSync(server.connection(), False);
        focused = true;
    }
    childProcess::launch how;
    how.file = "xdotool";
    how.argv = {"xdotool", "key", "--delay", std::to_string(gap.count())};
    how.argv.insert(how.argv.end(), keys.begin(), keys.end());
    how.env = {{"DISPLAY", server.display()}};
    return childProcess(how).waitExit(30s) == 0;
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

std::optional<int> gameSession::end(int signal, std::chrono::seconds timeout) {
    kill(game->id(), signal);
    return game->waitExit(timeout);
}

std::string gameSession::output() const {
    return fileText(dir.path() + "/.stdout");
}

std::string gameSession::errors() const {
    return fileText(dir.path() + "/.stderr");
}
