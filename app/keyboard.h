#pragma once

// The player's controls; x and y are the mouse position, which the game ignores.
void handleKey(unsigned char key, int x, int y);
