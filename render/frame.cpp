#include "render/frame.h"

#include <GL/glu.h>

#include "app/world.h"
#include "assets/textures.h"
#include "render/font.h"
#include "render/ground.h"
#include "render/view.h"

using namespace view;

namespace {

// Each projectile and ship is a square of this half-size, in world units, on the ground.
constexpr double hitHalfSize = 1.0;

presentStep present = [] {};
drawGate mayDraw = [] { return true; };

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
    glBindTexture(GL_TEXTURE_2D, textures[texture::grass]);
    groundList->draw();
    drawModel(textures[texture::sun], enemyShip);
    drawModel(textures[texture::grass], wingmanShip);
    drawModel(textures[texture::metal], playerShip);
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

// On purpose: a dead ship still absorbs the shots that reach it; its wreck stays where it
// died, and a shot over it ends there.
void killOnHit(entity& shot, entity& ship) {
    if (overlaps(shot.position(), ship.position())) {
        shot.setAlive(false);
        ship.setAlive(false);
    }
}

// On purpose: a bullet is tested against both ships even after it hits the first, so one
// bullet over both kills both.
void drawAndTestBullets() {
    for (bulletIt = bullets.begin(); bulletIt != bullets.end(); ++bulletIt) {
        if (bulletIt->isAlive()) {
            drawModel(textures[texture::sun], *bulletIt);
            killOnHit(*bulletIt, enemyShip);
            killOnHit(*bulletIt, wingmanShip);
        }
    }
}

// On purpose: missiles keep whatever texture is bound (the bullets' or the player's), and
// pass through the wingman: they home on the enemy alone.
void drawAndTestMissiles() {
    for (missileIt = missiles.begin(); missileIt != missiles.end(); ++missileIt) {
        if (missileIt->isAlive()) {
            glPushMatrix();
            missileIt->draw();
            glPopMatrix();
            killOnHit(*missileIt, enemyShip);
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

void setPresentStep(presentStep step) {
    present = step;
}

void setDrawGate(drawGate gate) {
    mayDraw = gate;
}

// Everything goes into the one cleared back buffer and is presented once, so no frame of the
// game shows without its projectiles and overlay. (A resize presents the back buffer as it
// stands, undrawn; the next frame follows at once.) The flush after the ships keeps the
// frame's order of steps: the scene is sent on before the projectiles are drawn and tested.
void renderFrame() {
    if (!mayDraw()) {
        return;
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    loadCameraProjection();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    setFog();
    setLight();
    lookDownOnPlayer();
    drawGroundAndShips();
    glFlush();
    drawAndTestBullets();
    drawAndTestMissiles();
    drawOverlay();
    restoreSceneState();
    // The picture is finished before it is handed on, so a paced present waits on a finished
    // frame: drawing still queued at the swap would land it late by however long that takes.
    glFinish();
    present();
    glDisable(GL_TEXTURE_2D);
}
