// The game's set-up and its frame loop, which GLUT runs on the one thread:
//
//   events   GLUT reads the window system's events: keys (handleKey), resizes (reshape),
//            the window hidden or shown (windowStatusChanged).
//   display  stepWorld asks the frame pacer whether the next frame is to be drawn now. If
//            so, it runs the ticks the tick clock owes since the last frame (60 a second,
//            whatever the display does; at most 4 after a stall) and the frame is taken.
//   idle     renderFrame draws the taken frame and presents it on the pacer's beat. With no
//            frame taken it draws nothing: the pacer waits on the window system's events
//            until the next frame's time to start, and GLUT comes round again.
//
// So the game waits first and draws late: a frame starts only when its predicted drawing
// time, 1 ms and a margin are left before it is due on screen, and a key pressed during the
// wait changes that very frame rather than the one after. The frame is due on the pacer's
// own 60 Hz beat, or at the next retrace of a display that holds each swap until its
// vertical blank. A steady picture comes first: the margin widens after each late frame and
// narrows while frames are on time, settling where one frame in 15 s comes late on a display
// that holds swaps (it would show the picture before it twice) and one in 100 without sync
// (it costs only its lateness). The first frame after start, or after the window comes
// back, is drawn as soon as the window can show it. While the window is hidden there is no
// idle callback: GLUT sleeps until the window comes back, and the clock and the pacer then
// start afresh. app/clock.h and app/pacer.h say how each decides.
//
// The set-up's loop is chosen by the build: GLUT's, above (app/loop_glut.cpp), or the
// browser's (app/loop_web.cpp), where each animation frame runs the same step and frame.
#include "app/game.h"

#include <algorithm>

#include <GL/glut.h>

#include "app/clock.h"
#include "app/loop.h"
#include "app/pacer.h"
#include "app/window.h"
#include "app/world.h"
#include "render/font.h"
#include "render/frame.h"

namespace {

// Reshape's projection lasts only until the next frame loads its own.
constexpr double reshapeFieldOfView = 50.0; // degrees, vertical
constexpr double reshapeNear = 1.0;         // world units
constexpr double reshapeFar = 2000.0;

} // namespace

void windowStatusChanged(int status) {
    static bool hidden = false;
    if (status == GLUT_HIDDEN) {
        hidden = true;
        glutIdleFunc(nullptr);
        return;
    }
    // Covered or uncovered in part, the window stays in view and the game carries on.
    if (!hidden) {
        return;
    }
    hidden = false;
    worldClock.start();
    screenPacer.start();
    glutIdleFunc(renderFrame);
    glutPostRedisplay();
}

void setFixedRenderState() {
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    glEnable(GL_FOG);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glEnable(GL_LIGHT0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

game::game(int argc, char** argv) {
    openWindow(argc, argv, argv[0]);
    glClearColor(0, 0, 0, 1);
    initScene();
    makeRasterFont();
    runFrameLoop();
}

// A window shrunk to nothing (height 0 when minimised) is projected as if one pixel high or
// wide, rather than dividing by zero or handing OpenGL an empty ortho box.
void reshape(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const int w = std::max(width, 1);
    const int h = std::max(height, 1);
    gluPerspective(reshapeFieldOfView, static_cast<double>(w) / h, reshapeNear, reshapeFar);
    glOrtho(0, w, 0, h, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glutSwapBuffers();
}
