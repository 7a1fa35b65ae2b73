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

#include "assets/textures.h"
#include "bench/bench.h"
#include "render/frame.h"

namespace {

// ---- the frame's state, restated so that the floors run no game code ----------------------

constexpr double fieldOfView = 100; // degrees
constexpr double aspect = 1.4;
constexpr double eyeHeight = 16; // world units above the ground
constexpr int cell = 8;          // ground quads are 8 x 8 world units
constexpr int groundEdge = 1000;
const GLfloat fogColour[4] = {0, 0, 0, 1};
const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1};
const GLfloat white[4] = {1, 1, 1, 1};
const GLfloat black[4] = {0, 0, 0, 1};
const GLfloat lightPos[4] = {0, 10, 0, 1};
const GLfloat lightDir[4] = {0, -1, 0, 1};

void sceneState() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, aspect, 5, 50);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 10);
    glFogf(GL_FOG_END, 20);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPos);
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, lightDir);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    gluLookAt(0, eyeHeight, 0, 0, eyeHeight - 1, 0, 1, 0, 0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textures[2]);
}

// Quad strips along Z, one per 8 units of X, vertex rows z0 <= z < z1.
void groundStrips(int x0, int x1, int z0, int z1) {
    for (int x = x0; x < x1; x += cell) {
        glBegin(GL_QUAD_STRIP);
        for (int z = z0; z < z1; z += cell) {
            glColor3f(1, 1, 1);
            glNormal3f(0, 1, 0);
            glTexCoord2f(static_cast<GLfloat>(x), static_cast<GLfloat>(z));
            glVertex3i(x, 0, z);
            glTexCoord2f(static_cast<GLfloat>(x + cell), static_cast<GLfloat>(z));
            glVertex3i(x + cell, 0, z);
        }
        glEnd();
    }
}

GLuint wholeGround() {
    static const GLuint list = [] {
        const GLuint l = glGenLists(1);
        glNewList(l, GL_COMPILE);
        groundStrips(-groundEdge, groundEdge, -groundEdge, groundEdge);
        glEndList();
        return l;
    }();
    return list;
}

void cube(GLuint texture, float x, float z, float alpha) {
    static const float face[6][3] = {{0, 1, 0}, {1, 0.5f, 0}, {1, 0, 0},
                                     {1, 1, 0}, {0, 0, 1},    {1, 0, 1}};
    static const float corner[6][4][3] = {
        {{.5f, .5f, -.5f}, {-.5f, .5f, -.5f}, {-.5f, .5f, .5f}, {.5f, .5f, .5f}},
        {{.5f, -.5f, -.5f}, {-.5f, -.5f, -.5f}, {-.5f, -.5f, .5f}, {.5f, -.5f, .5f}},
        {{.5f, .5f, .5f}, {-.5f, .5f, .5f}, {-.5f, -.5f, .5f}, {.5f, -.5f, .5f}},
        {{.5f, -.5f, -.5f}, {-.5f, -.5f, -.5f}, {-.5f, .5f, -.5f}, {.5f, .5f, -.5f}},
        {{-.5f, .5f, .5f}, {-.5f, .5f, -.5f}, {-.5f, -.5f, -.5f}, {-.5f, -.5f, .5f}},
        {{.5f, .5f, -.5f}, {.5f, .5f, .5f}, {.5f, -.5f, .5f}, {.5f, -.5f, -.5f}}};
    static const float texel[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    glBindTexture(GL_TEXTURE_2D, texture);
    glPushMatrix();
    glTranslatef(x, 5, z);
    glBegin(GL_QUADS);
    for (int f = 0; f < 6; ++f) {
        glColor4f(face[f][0], face[f][1], face[f][2], alpha);
        for (int v = 0; v < 4; ++v) {
            glTexCoord2fv(texel[v]);
            glVertex3fv(corner[f][v]);
        }
    }
    glEnd();
    glPopMatrix();
}

// 128 list names with a solid 8 x 13 bitmap for every capital, advancing 10 pixels.
GLuint letters() {
    static const GLuint base = [] {
        static const GLubyte solid[13] = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff,
                                          0xff, 0xff, 0xff, 0xff, 0xff, 0xff};
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        const GLuint b = glGenLists(128);
        for (GLuint c = 'A'; c <= 'Z'; ++c) {
            glNewList(b + c, GL_COMPILE);
            glBitmap(8, 13, 0, 2, 10, 0, solid);
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
    gluOrtho2D(0, 800, 0, 600);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 1, 1);
    glListBase(letters());
    glRasterPos2i(5, 550);
    glCallLists(5, GL_UNSIGNED_BYTE, "LIVES");
    glRasterPos2i(5, 570);
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
    const double halfX = eyeHeight * std::tan(fieldOfView / 2 * 3.141592653589793 / 180);
    const double halfZ = halfX * aspect;
    const int x0 = static_cast<int>(std::floor(-halfX / cell)) * cell;
    const int x1 = static_cast<int>(std::ceil(halfX / cell)) * cell;
    const int z0 = static_cast<int>(std::floor(-halfZ / cell)) * cell;
    const int z1 = static_cast<int>(std::ceil(halfZ / cell)) * cell + cell;
    for (auto _ : state) {
        sceneState();
        groundStrips(x0, x1, z0, z1);
        glFinish();
        glutSwapBuffers();
        glDisable(GL_TEXTURE_2D);
    }
    state.counters["quads"] = (x1 - x0) / cell * ((z1 - z0) / cell - 1);
}

void fixedWork(benchmark::State& state) {
    for (auto _ : state) {
        sceneState();
        glCallList(wholeGround());
        cube(textures[1], -5, -5, 1);
        cube(textures[2], 5, 5, 1);
        cube(textures[0], 0, 0, 0.4f);
        overlay();
        glFinish();
        glutSwapBuffers();
        glDisable(GL_TEXTURE_2D);
    }
}

// The game's own frame, the world as it starts: three ships, no projectile.
void gameFrame(benchmark::State& state) {
    resetWorld();
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
