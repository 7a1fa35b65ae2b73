// skyhunt-sortie GAME [ARGUMENT...]
//
// The short scripted sortie scripts/play flies when there is no display: the game, started
// with the arguments given, on a private virtual X server, speeds up, turns, fires bullets
// and missiles and quits with Escape. Four screenshots are left in the working directory as
// sortie-*.png and their paths printed. Whatever fails, it says what, shows the game's own
// output and ends with status 1; otherwise it ends with the game's status.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tools/driver/process.h"
#include "tools/driver/scratch.h"
#include "tools/driver/session.h"
#include "tools/driver/xserver.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// How long the virtual X server, the window and the first frame may each take.
constexpr auto serverStart = 5s;
constexpr auto windowShown = 20s;
constexpr auto firstFrame = 20s;
// Slow enough that each key shows in the screenshots.
constexpr auto keyGap = 120ms;
constexpr auto quitting = 10s;

// ImageMagick's own convert, not whatever else is first in PATH under its name.
constexpr const char* convert = "/usr/bin/convert";

struct failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Prints a text, ending it with a newline if it has none.
void show(std::ostream& out, const std::string& text) {
    out << text;
    if (!text.empty() && text.back() != '\n') {
        out << '\n';
    }
}

void showOutput(std::ostream& out, const gameSession& game) {
    out << "--- the game's standard output:\n";
    show(out, game.output());
    out << "--- the game's standard error:\n";
    show(out, game.errors());
    out << "---\n";
}

std::string seconds(std::chrono::seconds s) {
    return std::to_string(s.count()) + " s";
}

std::string joined(const std::vector<std::string>& words) {
    std::string out;
    for (const auto& w : words) {
        out += (out.empty() ? "" : " ") + w;
    }
    return out;
}

class sortie {
  public:
    sortie(gameSession& game, std::string scratch) : game(game), scratch(std::move(scratch)) {}

    // Fails, with the game's status, if the game has stopped before its time.
    void check(const std::string& doing) {
        if (const auto status = game.exitStatus()) {
            throw failure("the game stopped on its own, with status " + std::to_string(*status) +
                          ", while " + doing);
        }
    }

    void keys(const std::vector<std::string>& names) {
        check("being sent the keys " + joined(names));
        if (!game.press(names, keyGap)) {
            throw failure("xdotool could not type " + joined(names));
        }
    }

    // The window's picture as sortie-NAME.png in the working directory, by ImageMagick from
    // the raw capture.
    void shoot(const std::string& name) {
        const std::string path = fs::absolute("sortie-" + name + ".png").string();
        check("being photographed for " + path);
        const screenshot s = game.capture();
        const std::string raw = scratch + "/" + name + ".rgb";
        std::ofstream out(raw, std::ios::binary);
        for (const rgb& p : s.pixels) {
            out.put(static_cast<char>(p.r)).put(static_cast<char>(p.g)).put(static_cast<char>(p.b));
        }
        out.close();
        childProcess::launch how;
        how.file = convert;
        how.argv = {convert,  "-size", std::to_string(s.width) + "x" + std::to_string(s.height),
                    "-depth", "8",     "rgb:" + raw,
                    path};
        if (s.pixels.empty() || !out || childProcess(how).waitExit(10s) != 0) {
            throw failure("could not take the screenshot " + path);
        }
        shots.push_back(path);
    }

    std::vector<std::string> shots;

  private:
    gameSession& game;
    std::string scratch;
};

// At 60 ticks a second: a speed of 0.05 world units a tick crosses a 8-unit ground quad in
// under three seconds, a turn key is 10 degrees, bullets fly a little over twice as fast.
// The pauses let each step show: the ship gather speed, the bullets and the missile fly out.
void fly(sortie& s) {
    std::this_thread::sleep_for(500ms);
    s.shoot("1-start");
    s.keys({"w", "w", "w", "w", "w"});
    std::this_thread::sleep_for(1s);
    s.keys({"space"});
    std::this_thread::sleep_for(400ms);
    s.keys({"space"});
    std::this_thread::sleep_for(400ms);
    s.keys({"space"});
    std::this_thread::sleep_for(300ms);
    s.shoot("2-bullets");
    s.keys({"a", "a", "a"});
    std::this_thread::sleep_for(800ms);
    s.keys({"space", "m", "space"});
    std::this_thread::sleep_for(500ms);
    s.shoot("3-volley");
    s.keys({"d", "d", "d", "d", "d", "d", "space"});
    std::this_thread::sleep_for(500ms);
    s.keys({"space", "m"});
    std::this_thread::sleep_for(400ms);
    s.shoot("4-turning");
}

// The sortie from the game's start to its exit status.
int run(gameSession& game, const std::string& scratch) {
    sortie s(game, scratch);
    // The window appears once the game has loaded its textures; it is black until the first
    // frame shows the lit ground.
    if (game.window(windowShown) == 0) {
        s.check("waiting for its window");
        throw failure("the game showed no window within " + seconds(windowShown));
    }
    const auto drawn = [&](const screenshot& shot) {
        return litShare(shot) > 0.5 || !game.running();
    };
    const screenshot first = game.awaitShot(drawn, firstFrame);
    s.check("waiting for its first frame");
    if (litShare(first) <= 0.5) {
        std::ostringstream share;
        share << litShare(first);
        throw failure("the game drew no frame within " + seconds(firstFrame) +
                      " of showing its window (lit share " + share.str() + ")");
    }

    fly(s);

    s.check("being sent the keys Escape");
    const std::optional<int> status = game.quit(quitting);
    if (!status) {
        throw failure("the game did not quit within " + seconds(quitting) +
                      " of Escape, and was killed");
    }
    showOutput(std::cout, game);
    std::cout << "\nThe game ended with status " << *status << ". Screenshots of the sortie:\n";
    for (const auto& path : s.shots) {
        std::cout << "  " << path << '\n';
    }
    return *status;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: skyhunt-sortie GAME [ARGUMENT...]\n";
        return 2;
    }
    std::optional<gameSession> game; // goes last, so its output can be shown on failure
    try {
        scratchDir scratch; // the X server's log and the raw captures
        gameSession::options o;
        o.binary = argv[1];
        o.arguments.assign(argv + 2, argv + argc);
        // The game reads what it finds of its textures, as it would beside them.
        o.textures.clear();
        for (const auto& t : textureFiles) {
            if (fs::exists(fs::absolute(o.binary).parent_path() / t)) {
                o.textures.push_back(t);
            }
        }
        o.server.startTimeout = serverStart;
        o.server.logPath = scratch.path() + "/xvfb";
        try {
            game.emplace(o);
        } catch (const xServerError& e) {
            std::cerr << "--- Xvfb's output:\n";
            show(std::cerr, fileText(o.server.logPath));
            std::cerr << "---\n";
            throw;
        }
        return run(*game, scratch.path());
    } catch (const std::exception& e) {
        std::cerr << "skyhunt sortie failed: " << e.what() << '\n';
        if (game) {
            showOutput(std::cerr, *game);
        }
        return 1;
    }
}
