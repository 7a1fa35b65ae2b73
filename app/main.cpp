#include "app/game.h"

#include <cstdio>

// The game runs inside the set-up constructor until the player quits with Escape.
int main(int argc, char** argv) {
    // Each line reaches a log file as it is printed, even if a signal ends the game. Windows
    // has no line buffering (it buffers whole blocks instead), and the game prints only at
    // start-up, so nothing is buffered.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    game play;
    game{argc, argv};
    return 0;
}
