// The desktop's frame loop, in GLUT's events: its roles are described at the top of
// app/game.cpp.
#include "app/loop.h"

#include <GL/glut.h>

#include "app/clock.h"
#include "app/game.h"
#include "app/keyboard.h"
#include "app/pacer.h"
#include "app/step.h"
#include "render/frame.h"

namespace {

// The draw gate: whether the idle call draws, which the pacer decides.
bool startPacedDrawing() {
    return screenPacer.startDrawing();
}

// The present step: the pacer's wait, the swap, and what the pacer learns from it. The swap
// of a display synchronised to its retrace may return at once and block the next GL call
// instead; finishing here keeps that wait out of the next frame's drawing time and dates the
// return by the swap's true end.
void presentPaced() {
    screenPacer.awaitPresent();
    glutSwapBuffers();
    glFinish();
    screenPacer.presented();
}

} // namespace

void runFrameLoop() {
    glutDisplayFunc(stepWorld);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(handleKey);
    glutIdleFunc(renderFrame);
    glutWindowStatusFunc(windowStatusChanged);
    setFixedRenderState();
    setDrawGate(startPacedDrawing);
    setPresentStep(presentPaced);
    worldClock.start();
    screenPacer.start();
    glutMainLoop();
}
