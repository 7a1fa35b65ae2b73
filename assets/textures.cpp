// Written as this part of the game is built.
