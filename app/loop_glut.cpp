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
