#pragma once

// Advances every object of the world by one tick and asks GLUT for the next one.
void stepWorld();
