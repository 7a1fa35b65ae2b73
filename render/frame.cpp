#include "render/frame.h"

#include <GL/glut.h>

#include "app/pacer.h"
#include "app/world.h"
#include "assets/textures.h"
#include "render/font.h"

namespace {

// The game's camera: a wide view, the same aspect whatever the window's shape.
constexpr double fieldOfView = 100.0; // degrees, vertical
constexpr double aspect = 1.4;
constexpr double nearPlane = 5.0; // world units
constexpr double farPlane = 50.0;

constexpr GLfloat fogEnd = 20.0f; // world units from the eye
const GLfloat fogColor[4] = {0, 0, 0, 1};
const GLfloat ambientColor[4] = {0.2f, 0.2f, 0.2f, 1.0f};

// Light 0 sits 10 units along the eye's up axis, in eye space, so it travels with the camera;
// its spot direction needs only the first three values and its cut-off stays at 180 degrees.
const GLfloat lightDiffuse[4] = {1, 1, 1, 1};
const GLfloat lightAmbient[4] = {0, 0, 0, 1};
const GLfloat lightPos0[4] = {0, 10, 0, 1};
const GLfloat lightDir0[4] = {0, -1, 0, 1};

// The camera hangs this high over the player and looks straight down; screen-up is world +X.
constexpr double eyeHeight = 16.0;

// Each projectile and ship is a square of this half-size, in world units, on the ground.
constexpr double hitHalfSize = 1.0;

// Overlay labels, in an 800x600 screen space with its origin at the bottom left.
constexpr int labelLeft = 5;
constexpr int livesBaseline = 550;
constexpr int scoreBaseline = 570;

void loadCameraProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, aspect, nearPlane, farPlane);
}

void setFog() {
    glFogfv(GL_FOG_COLOR, fogColor);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, fogStart);
    glFogf(GL_FOG_END, fogEnd);
}

// Called while the modelview matrix is the identity, so the light is placed in eye space.
void setLight() {
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambientColor);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPos0);
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, lightDir0);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
}

void lookDownOnPlayer() {
    const double x = playerShip.getX();
    const double z = playerShip.getZ();
    gluLookAt(x, eyeHeight, z, x, eyeHeight - 1, z, 1, 0, 0);
}

template <typename Model>
void drawModel(GLuint texture, Model& model) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glPushMatrix();
    model.draw();
    glPopMatrix();
}

void drawGroundAndShips() {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textures[2]);
    groundList->draw();
    drawModel(textures[1], enemyShip);
    drawModel(textures[2], wingmanShip);
    drawModel(textures[0], playerShip);
}

// The two squares overlap, compared strictly in double: exactly 2 units apart is a miss.
bool overlaps(vec2 shot, vec2 ship) {
    const double px = shot.getX();
    const double pz = shot.getY();
    const double sx = ship.getX();
    const double sz = ship.getY();
    return px + hitHalfSize > sx - hitHalfSize && px - hitHalfSize < sx + hitHalfSize &&
           pz + hitHalfSize > sz - hitHalfSize && pz - hitHalfSize < sz + hitHalfSize;
}

// A dead ship still absorbs the shots that reach it.
void strike(entity& shot, entity& ship) {
    if (overlaps(shot.position(), ship.position())) {
        shot.setAlive(false);
        ship.setAlive(false);
    }
}

// A bullet is tested against both ships even after it hits the first, so one bullet over
// both kills both.
void drawAndStrikeBullets() {
    for (bulletIt = bullets.begin(); bulletIt != bullets.end(); ++bulletIt) {
        if (bulletIt->isAlive()) {
            drawModel(textures[1], *bulletIt);
            strike(*bulletIt, enemyShip);
            strike(*bulletIt, wingmanShip);
        }
    }
}

// Missiles keep whatever texture is bound, and pass through the wingman.
void drawAndStrikeMissiles() {
    for (missileIt = missiles.begin(); missileIt != missiles.end(); ++missileIt) {
        if (missileIt->isAlive()) {
            glPushMatrix();
            missileIt->draw();
            glPopMatrix();
            strike(*missileIt, enemyShip);
        }
    }
}

void drawOverlay() {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 1, 1);
    printString("LIVES", labelLeft, livesBaseline);
    printString("SCORE", labelLeft, scoreBaseline);
}

void restoreSceneState() {
    loadCameraProjection();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}

} // namespace

// Everything goes into the one cleared back buffer and is presented by a single swap, so no
// frame shows without its projectiles and overlay or over stale pixels.
void renderFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    loadCameraProjection();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    setFog();
    setLight();
    lookDownOnPlayer();
    drawGroundAndShips();
    glFlush();
    drawAndStrikeBullets();
    drawAndStrikeMissiles();
    drawOverlay();
    restoreSceneState();
    // Any waiting on the renderer must be done before the pacer's wait: drawing still queued
    // at the swap would land the frame late by however long it takes, different every frame.
    glFinish();
    screenPacer.awaitPresent();
    glutSwapBuffers();
    screenPacer.presented();
    glDisable(GL_TEXTURE_2D);
}
