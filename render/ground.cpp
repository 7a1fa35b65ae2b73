#include "render/ground.h"

namespace {

// The grid spans x from -1000 to 1000 and z from -1000 to 992 (world units): the last
// strip's vertex rows stop short of 1000, so its far band stays bare.
constexpr GLint gridStart = -1000;
constexpr GLint gridEnd = 1000;
// Side of one quad in world units; the texture repeats once per unit across it.
constexpr GLint cellSize = 8;

// One vertex row of a strip: the pair (x, z) and (x + 8, z), white and lit from above.
// Texture coordinates equal world coordinates so the repeating texture tiles every unit.
void emitVertexPair(GLint x, GLint z) {
    glColor3f(1.0f, 1.0f, 1.0f);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glTexCoord2f(static_cast<GLfloat>(x), static_cast<GLfloat>(z));
    glVertex3i(x, 0, z);
    glTexCoord2f(static_cast<GLfloat>(x + cellSize), static_cast<GLfloat>(z));
    glVertex3i(x + cellSize, 0, z);
}

// A quad strip 8 units wide running along z from -1000 to 992.
void emitStrip(GLint x) {
    glBegin(GL_QUAD_STRIP);
    for (GLint z = gridStart; z < gridEnd; z += cellSize) {
        emitVertexPair(x, z);
    }
    glEnd();
}

} // namespace

ground::ground() : listId(buildList()) {}

// Recorded once with GL_COMPILE: nothing is drawn while the list is built.
GLuint ground::buildList() {
    const GLuint name = glGenLists(1);
    glNewList(name, GL_COMPILE);
    for (GLint x = gridStart; x < gridEnd; x += cellSize) {
        emitStrip(x);
    }
    glEndList();
    return name;
}

void ground::draw() {
    glCallList(listId);
}
