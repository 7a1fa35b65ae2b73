#include "render/ground.h"

namespace {

// One vertex row of a strip: the pair (x, z) and (x + 8, z), white and lit from above.
// Texture coordinates equal world coordinates so the repeating texture tiles every unit.
void emitVertexPair(GLint x, GLint z) {
    glColor3f(1.0f, 1.0f, 1.0f);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glTexCoord2f(static_cast<GLfloat>(x), static_cast<GLfloat>(z));
    glVertex3i(x, 0, z);
    glTexCoord2f(static_cast<GLfloat>(x + groundCell), static_cast<GLfloat>(z));
    glVertex3i(x + groundCell, 0, z);
}

// A quad strip 8 units wide running along z from -1000 to 992.
void emitStrip(GLint x) {
    glBegin(GL_QUAD_STRIP);
    for (GLint z = groundStart; z < groundEnd; z += groundCell) {
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
    for (GLint x = groundStart; x < groundEnd; x += groundCell) {
        emitStrip(x);
    }
    glEndList();
    return name;
}

void ground::draw() {
    glCallList(listId);
}
