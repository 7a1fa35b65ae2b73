#pragma once

#include <GL/gl.h>

// The textured ground grid under the ships, compiled once into a display list.
class ground {
  public:
    ground();

    GLuint buildList();
    // Replays the grid; the caller binds the texture and sets up the camera.
    void draw();

    GLuint listId;
};
