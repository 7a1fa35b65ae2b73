#pragma once

#include <GL/gl.h>

// The grid spans x from groundStart to groundEnd and z from groundStart to groundEnd less one
// cell (world units): every strip's vertex rows stop short of groundEnd, so the far band
// along z stays bare. Each quad is groundCell on a side, and the texture repeats once per unit.
constexpr GLint groundStart = -1000;
constexpr GLint groundEnd = 1000;
constexpr GLint groundCell = 8;

// The textured ground grid under the ships, compiled once into a display list.
class ground {
  public:
    ground(); // keeps buildList's list in listId

    // Records the grid into a new display list, drawing nothing, and returns its name. It
    // reads nothing of the object.
    GLuint buildList();
    // Replays the grid; the caller binds the texture and sets up the camera.
    void draw();

    GLuint listId;
};
