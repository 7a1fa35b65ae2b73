#include "app/game.h"

// The game runs inside the set-up constructor until the player quits with Escape.
int main(int argc, char** argv) {
    game play;
    game{argc, argv};
    return 0;
}
