#pragma once

// The idle callback: draws and presents one frame, and finds the projectiles that hit a
// ship, when the draw gate lets it; otherwise it returns having drawn nothing.
void renderFrame();

// Whether the idle call draws a frame now; a gate that says no has waited for the window
// system's events until the next frame's time. Until the game's set-up hands in its paced
// gate, every call draws, so tests and benchmarks draw each time they ask.
using drawGate = bool (*)();
void setDrawGate(drawGate gate);

// How a finished frame reaches the screen. Until the game's set-up hands in its paced
// present, it is the bare buffer swap, so tests and benchmarks draw unpaced.
using presentStep = void (*)();
void setPresentStep(presentStep present);
