// renderFrame at 800 x 600 beside three floors drawn by this file's own code: a bare
// clear and swap; the ground quads in view under the frame's fog, light and texture
// state; and the frame's fixed work alone (that state, the whole ground list, three
// textured cubes, ten glyphs, one swap). Every frame finishes its drawing and then swaps,
// as the game does before its pacer's wait, so each time covers the rendering as well as
// the calls.
#include <cmath>

#include <GL/glu.h>
#include <GL/glut.h>
#include <benchmark/benchmark.h>

#include "app/world.h"
#include "assets/models.h"
#include "assets/textures.h"
#include "bench/bench.h"
#include "render/font.h"
#include "render/frame.h"
#include "render/ground.h"
#include "render/view.h"
#include "world/angles.h"

using namespace view;

namespace {

// ---- the frame's state, set by this file's own calls so that the floors run no game code --

void sceneState() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, aspect, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glFogfv(GL_FOG_COLOR, fogColor);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, fogStartAtLaunch);
    glFogf(GL_FOG_END, fogEnd);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambientColor);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPos0);
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, lightDir0);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    gluLookAt(0, eyeHeight, 0, 0, eyeHeight - 1, 0, 1, 0, 0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textures[texture::grass]);
}

// Quad strips along Z, one per cell of X, vertex rows z0 <= z < z1.
void groundStrips(int x0, int x1, int z0, int z1) {
    for (int x = x0; x < x1; x += groundCell) {
        glBegin(GL_QUAD_STRIP);
        for (int z = z0; z < z1; z += groundCell) {
            glColor3f(1, 1, 1);
            glNormal3f(0, 1, 0);
            glTexCoord2f(static_cast<GLfloat>(x), static_cast<GLfloat>(z));
            glVertex3i(x, 0, z);
            glTexCoord2f(static_cast<GLfloat>(x + groundCell), static_cast<GLfloat>(z));
            glVertex3i(x + groundCell, 0, z);
        }
        glEnd();
    }
}

GLuint wholeGround() {
    static const GLuint list = [] {
        const GLuint l = glGenLists(1);
        glNewList(l, GL_COMPILE);
        groundStrips(groundStart, groundEnd, groundStart, groundEnd);
        glEndList();
        return l;
    }();
    return list;
}

void cube(GLuint texture, const vec2& at, float alpha) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glPushMatrix();
    glTranslatef(at.x, model::shipHeight, at.y);
    glBegin(GL_QUADS);
    for (const model::cubeFace& face : model::cubeFaces) {
        glColor4f(face.tint.r, face.tint.g, face.tint.b, alpha);
        for (int v = 0; v < 4; ++v) {
            glTexCoord2fv(model::faceTexCoords[v]);
            glVertex3f(face.corners[v].x, face.corners[v].y, face.corners[v].z);
        }
    }
    glEnd();
    glPopMatrix();
}

// A list name for every 7-bit code, with a solid glyph-sized bitmap for every capital.
GLuint letters() {
    static const GLuint base = [] {
        static const GLubyte solid[glyphHeight] = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff,
                                                   0xff, 0xff, 0xff, 0xff, 0xff, 0xff};
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        const GLuint b = glGenLists(fontListCount);
        for (GLuint c = 'A'; c <= 'Z'; ++c) {
            glNewList(b + c, GL_COMPILE);
            glBitmap(glyphWidth, glyphHeight, 0, glyphOriginY, glyphAdvance, 0, solid);
            glEndList();
        }
        return b;
    }();
    return base;
}

void overlay() {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, windowWidth, 0, windowHeight);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 1, 1);
    glListBase(letters());
    glRasterPos2i(labelLeft, livesBaseline);
    glCallLists(5, GL_UNSIGNED_BYTE, "LIVES");
    glRasterPos2i(labelLeft, scoreBaseline);
    glCallLists(5, GL_UNSIGNED_BYTE, "SCORE");
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}

// ---- the frames ----------------------------------------------------------------------------

void clearAndSwap(benchmark::State& state) {
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
        glutSwapBuffers();
    }
}

// The camera sees the ground 16 units below over tan(50 degrees) * 16 to either side
// vertically and 1.4 times that horizontally; whole quads covering that are drawn.
void groundInView(benchmark::State& state) {
    const double halfX = eyeHeight * std::tan(fieldOfView / 2 * pi / 180);
    const double halfZ = halfX * aspect;
    const int x0 = static_cast<int>(std::floor(-halfX / groundCell)) * groundCell;
    const int x1 = static_cast<int>(std::ceil(halfX / groundCell)) * groundCell;
    const int z0 = static_cast<int>(std::floor(-halfZ / groundCell)) * groundCell;
    const int z1 = static_cast<int>(std::ceil(halfZ / groundCell)) * groundCell + groundCell;
    for (auto _ : state) {
        sceneState();
        groundStrips(x0, x1, z0, z1);
        glFinish();
        glutSwapBuffers();
        glDisable(GL_TEXTURE_2D);
    }
    state.counters["quads"] = (x1 - x0) / groundCell * ((z1 - z0) / groundCell - 1);
}

void fixedWork(benchmark::State& state) {
    resetWorld();
    for (auto _ : state) {
        sceneState();
        glCallList(wholeGround());
        cube(textures[texture::sun], enemyShip.position(), model::opaqueAlpha);
        cube(textures[texture::grass], wingmanShip.position(), model::opaqueAlpha);
        cube(textures[texture::metal], playerShip.position(), model::playerAlpha);
        overlay();
        glFinish();
        glutSwapBuffers();
        glDisable(GL_TEXTURE_2D);
    }
}

// The game's own frame, the world as it starts: three ships, no projectile. It is presented
// with the bare swap, as the floors are, not paced.
void gameFrame(benchmark::State& state) {
    resetWorld();
    setPresentStep(glutSwapBuffers);
    for (auto _ : state) {
        renderFrame();
    }
}

void asFrame(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime() // the software renderer draws on threads of its own
        ->Repetitions(5)
        ->ReportAggregatesOnly();
}

} // namespace

BENCHMARK(gameFrame)->Name(benchName::renderFrame)->Apply(asFrame);
BENCHMARK(clearAndSwap)->Name(benchName::clearAndSwap)->Apply(asFrame);
BENCHMARK(groundInView)->Name(benchName::groundInView)->Apply(asFrame);
BENCHMARK(fixedWork)->Name(benchName::fixedWork)->Apply(asFrame);
