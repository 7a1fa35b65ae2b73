#pragma once

// The application: constructing it from the command line sets up the window and the
// scene and runs the game until the player quits.
class game {
  public:
    game() {}
    game(int argc, char** argv);
    ~game() {}
};

// Keeps the viewport on the whole window.
void reshape(int width, int height);

// Unmapped or minimised, the window shows nothing: the game stops drawing and sleeps in the
// event loop, and the world stands still, since a hidden window gets no display events.
// Shown again, the clocks start afresh, so the world goes on where it stood with no
// catch-up ticks for the time away.
void windowStatusChanged(int status);

// State that no frame changes: lighting with one light, fog, and alpha blending. The set-up
// turns it on once; the benchmarks do the same without the event loop.
void setFixedRenderState();
