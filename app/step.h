#pragma once

// The display callback: advances every object of the world by the ticks the clock owes
// (one a call while the clock is stopped) and asks GLUT for the next display event.
void stepWorld();
