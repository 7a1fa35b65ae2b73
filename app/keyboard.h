#pragma once

// What one key press changes.
constexpr float turnStep = 10.0f;  // degrees, A and D
constexpr float speedStep = 0.01f; // world units per tick, W and S
constexpr double fogStep = 5.0;    // world units, O and P

// The player's controls; x and y are the mouse position, which the game ignores.
void handleKey(unsigned char key, int x, int y);
