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

// The page's hook (web/skyhunt.html.in) for a game that cannot start. Escape's exit, as on the
// desktop, ends in the page's quit hook, which stops the loop and says how to play again.
EM_JS(void, tellPageFailed, (const char* text), { Module.skyhuntFailed(UTF8ToString(text)); });

int framesDrawn = 0;
int drawCallsLastFrame = 0;
double lastFrameTime = 0; // milliseconds from the step's start to the frame's last call

void frame() {
    const double started = emscripten_get_now();
    stepWorld();
    renderFrame();
    ++framesDrawn;
    drawCallsLastFrame = fixedgl::takeDrawCalls();
    lastFrameTime = emscripten_get_now() - started;
}

EM_BOOL visibilityChanged(int, const EmscriptenVisibilityChangeEvent* event, void*) {
    if (!event->hidden) {
        worldClock.start();
    }
    return EM_FALSE;
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
    if (!texturesLoaded()) {
        tellPageFailed("The game's textures could not be read.");
        return;
    }
    glutKeyboardFunc(handleKey);
    setFixedRenderState();
    reshape(view::windowWidth, view::windowHeight);
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, visibilityChanged);
    worldClock.start();
    emscripten_set_main_loop(frame, 0, EM_TRUE);
}

// Read-only figures for the browser tests and the benchmark: frames drawn, the WebGL draw
// calls and the time of the last frame (milliseconds on the page's thread; the browser's
// drawing of what it was given follows), and where the player's ship stands (world units).
extern "C" {
EMSCRIPTEN_KEEPALIVE int skyhunt_frames() {
    return framesDrawn;
}
EMSCRIPTEN_KEEPALIVE int skyhunt_draw_calls() {
    return drawCallsLastFrame;
}
EMSCRIPTEN_KEEPALIVE double skyhunt_frame_time() {
    return lastFrameTime;
}
EMSCRIPTEN_KEEPALIVE double skyhunt_player_x() {
    return playerShip.getX();
}
EMSCRIPTEN_KEEPALIVE double skyhunt_player_z() {
    return playerShip.getZ();
}
}
