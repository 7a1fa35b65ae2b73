#pragma once

// Hands the set-up window to its frame loop, once the scene and the font are made: it registers
// the loop's callbacks, turns on the fixed render state and starts the clocks. GLUT's loop
// (app/loop_glut.cpp) never returns; the browser's (app/loop_web.cpp) leaves the page's thread
// to the browser, which calls the frame on each animation frame.
void runFrameLoop();
