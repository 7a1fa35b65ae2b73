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

// State that no frame changes: lighting with one light, fog, and alpha blending. The set-up
// turns it on once; the benchmarks do the same without the event loop.
void setFixedRenderState();
