#include "app/game.h"

#include <algorithm>

#include <GL/glut.h>

#include "app/clock.h"
#include "app/keyboard.h"
#include "app/pacer.h"
#include "app/step.h"
#include "app/window.h"
#include "app/world.h"
#include "render/font.h"
#include "render/frame.h"

namespace {

// Reshape's projection lasts only until the next frame loads its own.
constexpr double reshapeFieldOfView = 50.0; // degrees, vertical
constexpr double reshapeNear = 1.0;         // world units
constexpr double reshapeFar = 2000.0;

// The display event ticks the world and the idle event draws it. The window's status
// decides whether there is anything to draw at all.
void registerCallbacks() {
    glutDisplayFunc(stepWorld);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(handleKey);
    glutIdleFunc(renderFrame);
    glutWindowStatusFunc(windowStatusChanged);
}

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
    registerCallbacks();
    setFixedRenderState();
    setDrawGate(startPacedDrawing);
    setPresentStep(presentPaced);
    worldClock.start();
    screenPacer.start();
    glutMainLoop();
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
