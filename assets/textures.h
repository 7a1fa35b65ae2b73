#pragma once

#include <GL/gl.h>

#include "assets/texture_files.h"

// Texture names by slot (texture::metal for the player, texture::sun for the enemy and the
// bullets, texture::grass for the ground and the wingman). All 0 until loadTextures succeeds.
extern GLuint textures[3];
static_assert(texture::count == 3, "one texture name a file");

// Reads the three image files, each from the working directory or where findDataFile finds
// it, into textures. Returns 0 on success, 1 when an image record cannot be allocated, 2
// when a file cannot be read.
int loadTextures();
