#pragma once

// Draws and presents one frame, and finds the projectiles that hit a ship.
void renderFrame();
