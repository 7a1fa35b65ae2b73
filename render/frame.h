#pragma once

// The idle callback: draws and presents one frame, and finds the projectiles that hit a
// ship, when the draw gate lets it; otherwise it returns having drawn nothing.
void renderFrame();

// The frame's two hooks, which whoever sets up the window hands in: the game its pacer's,
// the benchmarks and the tests their own. They keep the window toolkit out of render/.

// Whether the idle call draws a frame now; a gate that says no has waited for the window
// system's events until the next frame's time. Until one is handed in, every call draws.
using drawGate = bool (*)();
void setDrawGate(drawGate gate);

// How a finished frame reaches the screen: the game's waits for its time, then swaps the
// buffers. Until one is handed in, the frame stays in the back buffer.
using presentStep = void (*)();
void setPresentStep(presentStep present);
