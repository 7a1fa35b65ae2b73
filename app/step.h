#pragma once

// The display callback: when the frame pacer says a frame is to be drawn now, advances every
// object of the world by the ticks the clock owes (one a call while the clock and the pacer
// are stopped); asks GLUT for the next display event either way.
void stepWorld();
