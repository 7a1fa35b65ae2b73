#pragma once

#include <GL/gl.h>

// Texture names: 0 the player's metal, 1 the enemy's and bullets' sun, 2 the grass of the
// ground and the wingman. All 0 until loadTextures succeeds.
extern GLuint textures[3];

// Reads the three image files from the working directory into textures. Returns 0 on
// success, 1 when an image record cannot be allocated, 2 when a file cannot be read.
int loadTextures();
