// The browser's frame loop. Each animation frame runs the desktop's step and frame: the tick
// clock owes its ticks (60 a second of real time whatever the display's refresh, at most 4
// after a stall) and the frame is drawn at once. The browser paces the frames and shows each
// when the function returns, so the frame pacer stays stopped, drawing every frame it is
// given. A hidden page gets no animation frames, so it draws nothing and uses no processor;
// shown again, the clock starts afresh and the world goes on where it stood.
#include "app/loop.h"

#include <GL/glut.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <cstdlib>

#include "app/clock.h"
#include "app/game.h"
#include "app/keyboard.h"
#include "app/step.h"
#include "app/world.h"
#include "assets/textures.h"
#include "render/frame.h"
#include "render/view.h"
#include "web/gl/draw_count.h"

namespace {

// The page's hooks (web/skyhunt.html.in): the game has ended, or cannot start.
EM_JS(void, tellPageEnded, (), { Module.skyhuntEnded(); });
EM_JS(void, tellPageFailed, (const char* text), { Module.skyhuntFailed(UTF8ToString(text)); });

int framesDrawn = 0;
int drawCallsLastFrame = 0;

void frame() {
    stepWorld();
    renderFrame();
    ++framesDrawn;
    drawCallsLastFrame = fixedgl::takeDrawCalls();
}

EM_BOOL visibilityChanged(int, const EmscriptenVisibilityChangeEvent* event, void*) {
    if (!event->hidden) {
        worldClock.start();
    }
    return EM_FALSE;
}

// Escape ends the game through exit, as on the desktop: the loop stops, the keys go to
// nothing, and the page says so.
void gameEnded() {
    emscripten_cancel_main_loop();
    glutKeyboardFunc(nullptr);
    tellPageEnded();
}

bool texturesLoaded() {
    for (GLuint name : textures) {
        if (name == 0) {
            return false;
        }
    }
    return true;
}

} // namespace

void runFrameLoop() {
    std::fflush(stdout);
    if (!texturesLoaded()) {
        tellPageFailed("The game's textures could not be read.");
        return;
    }
    glutKeyboardFunc(handleKey);
    setFixedRenderState();
    reshape(view::windowWidth, view::windowHeight);
    std::atexit(gameEnded);
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, visibilityChanged);
    worldClock.start();
    emscripten_set_main_loop(frame, 0, EM_TRUE);
}

// Read-only figures for the browser tests and the benchmark: frames drawn, the WebGL draw
// calls of the last frame, and where the player's ship stands (world units).
extern "C" {
EMSCRIPTEN_KEEPALIVE int skyhunt_frames() {
    return framesDrawn;
}
EMSCRIPTEN_KEEPALIVE int skyhunt_draw_calls() {
    return drawCallsLastFrame;
}
EMSCRIPTEN_KEEPALIVE double skyhunt_player_x() {
    return playerShip.getX();
}
EMSCRIPTEN_KEEPALIVE double skyhunt_player_z() {
    return playerShip.getZ();
}
}
