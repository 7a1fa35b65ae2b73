#pragma once

// Draws and presents one frame, and finds the projectiles that hit a ship.
void renderFrame();

// How a finished frame reaches the screen. Until the game's set-up hands in its paced
// present, it is the bare buffer swap, so tests and benchmarks draw unpaced.
using presentStep = void (*)();
void setPresentStep(presentStep present);
