// The fixed shapes of the ships and projectiles, drawn in immediate mode. The caller
// binds the texture and saves the modelview matrix; each model only multiplies its own
// transform onto it. No normals are given: the ground leaves (0, 1, 0) current.
#include <GL/gl.h>

#include <cstddef>

#include "assets/models.h"
#include "world/enemy.h"
#include "world/entity.h"
#include "world/fighter.h"
#include "world/projectile.h"

namespace {

using model::colour;
using model::point;

constexpr colour green = model::cubeFaces[0].tint;
constexpr colour grey{0.5f, 0.5f, 0.5f};
constexpr colour red{1.0f, 0.0f, 0.0f};

// ---- Ships ---------------------------------------------------------------------------

// Translate, then heading about +Y, then bank about the ship's own nose axis.
void placeShip(const entity& ship) {
    glTranslatef(ship.x, model::shipHeight, ship.z);
    glRotatef(ship.heading, 0.0f, 1.0f, 0.0f);
    glRotatef(ship.bank, 0.0f, 0.0f, 1.0f);
}

void emitFaceCorners(const model::cubeFace& face) {
    for (std::size_t i = 0; i < 4; ++i) {
        glTexCoord2f(model::faceTexCoords[i][0], model::faceTexCoords[i][1]);
        glVertex3f(face.corners[i].x, face.corners[i].y, face.corners[i].z);
    }
}

// The AI ships' top face keeps the opaque green set before glBegin; the player's sets
// every face's colour, the top included, to carry its alpha.
void emitCube(GLfloat alpha, bool tintTopFace) {
    glBegin(GL_QUADS);
    for (std::size_t i = 0; i < model::faceCount; ++i) {
        const model::cubeFace& face = model::cubeFaces[i];
        if (i > 0 || tintTopFace) {
            glColor4f(face.tint.r, face.tint.g, face.tint.b, alpha);
        }
        emitFaceCorners(face);
    }
    glEnd();
}

// ---- Projectiles ---------------------------------------------------------------------

// The shapes lie this high in model space and are lifted as much again, so projectiles
// fly 10 units above the ground, over the ships. The tail edge's middle is the position.
constexpr GLfloat projectileLift = 5.0f;
constexpr GLfloat projectilePlane = 5.0f;

struct texturedPoint {
    GLfloat s, t;
    point at;
};

// A dart 0.2 wide and 0.1 long with its point 0.4 ahead of the tail edge.
constexpr std::size_t bulletVertexCount = 5;
constexpr texturedPoint bulletStrip[bulletVertexCount] = {
    {0.0f, 0.0f, {-0.1f, projectilePlane, 0.0f}}, {0.0f, 1.0f, {0.1f, projectilePlane, 0.0f}},
    {1.0f, 1.0f, {-0.1f, projectilePlane, 0.1f}}, {1.0f, 0.0f, {0.1f, projectilePlane, 0.1f}},
    {0.0f, 0.0f, {0.0f, projectilePlane, 0.4f}},
};

// A body 0.3 wide and 0.5 long with its point 0.7 ahead of the tail edge.
constexpr std::size_t missileBodyCount = 5;
constexpr point missileBody[missileBodyCount] = {
    {-0.15f, projectilePlane, 0.0f}, {0.15f, projectilePlane, 0.0f},
    {-0.15f, projectilePlane, 0.5f}, {0.15f, projectilePlane, 0.5f},
    {0.0f, projectilePlane, 0.7f},
};

// Two fins, the -X one first, each 0.05 out from the body at the tail and 0.2 long.
constexpr std::size_t missileFinCount = 6;
constexpr point missileFins[missileFinCount] = {
    {-0.15f, projectilePlane, 0.0f}, {-0.15f, projectilePlane, 0.2f},
    {-0.2f, projectilePlane, 0.0f},  {0.15f, projectilePlane, 0.0f},
    {0.15f, projectilePlane, 0.2f},  {0.2f, projectilePlane, 0.0f},
};

// Projectiles do not bank.
void placeProjectile(const entity& shot) {
    glTranslatef(shot.x, projectileLift, shot.z);
    glRotatef(shot.heading, 0.0f, 1.0f, 0.0f);
}

void setColour(const colour& c) {
    glColor3f(c.r, c.g, c.b);
}

// The missile gives no texture coordinates: it takes whatever coordinate is current.
void emitPoints(GLenum mode, const point* points, std::size_t count) {
    glBegin(mode);
    for (std::size_t i = 0; i < count; ++i) {
        glVertex3f(points[i].x, points[i].y, points[i].z);
    }
    glEnd();
}

void emitBulletStrip() {
    glBegin(GL_TRIANGLE_STRIP);
    for (const texturedPoint& v : bulletStrip) {
        glTexCoord2f(v.s, v.t);
        glVertex3f(v.at.x, v.at.y, v.at.z);
    }
    glEnd();
}

} // namespace

// ---- The models' draw members ----------------------------------------------------------

// A dead AI ship issues no OpenGL call at all, not even its colour.
void enemy::draw() {
    if (!alive) {
        return;
    }
    setColour(green);
    placeShip(*this);
    emitCube(model::opaqueAlpha, false);
}

// On purpose: the player's ship is drawn whatever its alive flag says; the flag stays false
// all game, since nothing can hit the player.
void fighter::draw() {
    setColour(green);
    placeShip(*this);
    emitCube(model::playerAlpha, true);
}

void bullet::draw() {
    if (!alive) {
        return;
    }
    setColour(grey);
    placeProjectile(*this);
    emitBulletStrip();
}

void missile::draw() {
    if (!alive) {
        return;
    }
    setColour(grey);
    placeProjectile(*this);
    emitPoints(GL_TRIANGLE_STRIP, missileBody, missileBodyCount);
    setColour(red);
    emitPoints(GL_TRIANGLES, missileFins, missileFinCount);
}
