#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "web/gl/shading.h"

// What glBegin/glEnd and the display lists collect: vertices with their current attributes,
// cut into triangles for filled polygons and into the polygons' edges for GL_LINE mode.
namespace fixedgl {

struct vertex {
    float position[3];
    float colour[4];
    float normal[3];
    float texCoord[2];
};

struct mesh {
    std::vector<vertex> vertices;
    std::vector<std::uint32_t> triangles; // three indices a triangle
    std::vector<std::uint32_t> edges;     // two indices a line
};

// One glBegin/glEnd. Every triangle ends on its primitive's provoking vertex (the last of a
// triangle or quad, the first of a polygon), where WebGL 2 takes a flat colour from, so flat
// shading shows the colour OpenGL 1.1 would. A quad's edges are its four sides, not the
// diagonal.
class assembler {
  public:
    // False for a primitive the game never draws (points and lines).
    static bool supports(unsigned mode);
    void begin(unsigned mode);
    void add(const vertex& v) { pending.push_back(v); }
    // Appends the primitive to the mesh; an incomplete trailing primitive is dropped.
    void end(mesh& into);

  private:
    unsigned mode = 0;
    std::vector<vertex> pending;
};

// A bitmap as glBitmap gives it, its rows unpacked to one byte a pixel (255 where a bit is
// set), bottom row first.
struct bitmapImage {
    int width = 0;
    int height = 0;
    float xOrigin = 0, yOrigin = 0, xMove = 0, yMove = 0;
    std::vector<std::uint8_t> coverage;
};

// Unpacks rows of bits, the most significant bit leftmost, each row padded to the unpack
// alignment in bytes (1, 2, 4 or 8).
std::vector<std::uint8_t> unpackBitmap(int width, int height, int alignment,
                                       const std::uint8_t* rows);

// A display list: the geometry of all its glBegin/glEnd pairs in one mesh, and its steps in
// order. Consecutive primitives merge into one draw, so a list of nothing but geometry (the
// ground) replays as one draw call. The current colour, normal and texture coordinate the
// list leaves behind are applied when it is called, as OpenGL does.
struct box {
    float low[3] = {0, 0, 0};
    float high[3] = {0, 0, 0};
};

struct displayList {
    struct step {
        enum kind { draw, bitmap } what;
        std::size_t triangleFirst = 0, triangleCount = 0; // indices into the mesh
        std::size_t edgeFirst = 0, edgeCount = 0;
        std::size_t image = 0;     // into bitmaps
        std::optional<box> bounds; // in model space, once partitioned
    };
    mesh geometry;
    std::vector<step> steps;
    std::vector<bitmapImage> bitmaps;
    std::optional<colour> lastColour;
    std::optional<std::array<float, 3>> lastNormal;
    std::optional<std::array<float, 2>> lastTexCoord;

    // Appends what an assembler put at the end of the geometry since the given sizes.
    void closeDraw(std::size_t trianglesBefore, std::size_t edgesBefore);
    void addBitmap(bitmapImage image);
    // Cuts each large draw into pieces of about this many triangles, each a block of space
    // with its bounding box, so that a replay draws only the few pieces in view: the ground's
    // 2000 units square shows about 45 by 35 of them.
    void partition(std::size_t trianglesPerPiece);
};

// False when the box lies wholly outside one plane of the clip volume of the given
// projection times modelview.
bool mayBeInView(const box& bounds, const mat4& clipFromModel);

} // namespace fixedgl
