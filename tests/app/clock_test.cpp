// Tests are added as this part of the game is built.
