// Primitives cut into triangles that end on OpenGL's provoking vertex, and their outlines.
#include "web/gl/primitives.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

using namespace fixedgl;

namespace {

// Vertex i lies at (i, i * i) so that windings can be told apart.
mesh assemble(unsigned mode, int count) {
    assembler a;
    a.begin(mode);
    for (int i = 0; i < count; ++i) {
        const auto x = static_cast<float>(i);
        a.add({{x, (i % 2) ? 1.0f : 0.0f, 0}, {1, 1, 1, 1}, {0, 1, 0}, {0, 0}});
    }
    mesh m;
    a.end(m);
    return m;
}

using indices = std::vector<std::uint32_t>;

} // namespace

// Flat shading takes a whole primitive's colour from its last vertex (a polygon's first);
// WebGL 2 takes it from each triangle's last, so every triangle must end there. GL_LINE mode
// draws a quad's four sides, never the diagonal.
TEST(Primitives, TrianglesEndOnTheProvokingVertexAndEdgesOutlineEachPolygon) {
    struct {
        const char* what;
        unsigned mode;
        int vertices;
        indices triangles, edges;
    } cases[] = {
        {"triangles", GL_TRIANGLES, 7, {0, 1, 2, 3, 4, 5}, {0, 1, 1, 2, 2, 0, 3, 4, 4, 5, 5, 3}},
        {"quads", GL_QUADS, 4, {0, 1, 3, 1, 2, 3}, {0, 1, 1, 2, 2, 3, 3, 0}},
        {"quad strip",
         GL_QUAD_STRIP,
         6,
         {0, 1, 3, 2, 0, 3, 2, 3, 5, 4, 2, 5},
         {0, 1, 1, 3, 3, 2, 2, 0, 2, 3, 3, 5, 5, 4, 4, 2}},
        {"triangle strip keeps its winding",
         GL_TRIANGLE_STRIP,
         4,
         {0, 1, 2, 2, 1, 3},
         {0, 1, 1, 2, 2, 0, 1, 2, 2, 3, 3, 1}},
        {"triangle fan",
         GL_TRIANGLE_FAN,
         4,
         {0, 1, 2, 0, 2, 3},
         {0, 1, 1, 2, 2, 0, 0, 2, 2, 3, 3, 0}},
        {"polygon ends on its first vertex",
         GL_POLYGON,
         4,
         {1, 2, 0, 2, 3, 0},
         {0, 1, 1, 2, 2, 3, 3, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const mesh m = assemble(c.mode, c.vertices);
        EXPECT_EQ(m.vertices.size(), static_cast<std::size_t>(c.vertices));
        EXPECT_EQ(m.triangles, c.triangles);
        EXPECT_EQ(m.edges, c.edges);
    }
    EXPECT_FALSE(assembler::supports(GL_LINES));
    EXPECT_FALSE(assembler::supports(GL_POINTS));
}

// Rows are padded to the unpack alignment; the most significant bit is the leftmost pixel.
TEST(Primitives, BitmapRowsUnpackWithTheirAlignment) {
    const std::uint8_t oneByteRows[] = {0x80, 0x01};
    EXPECT_EQ(unpackBitmap(8, 2, 1, oneByteRows),
              (std::vector<std::uint8_t>{255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255}));
    const std::uint8_t paddedRows[] = {0x00, 0x40, 0xee, 0xee, 0xc0, 0x00, 0xee, 0xee};
    EXPECT_EQ(unpackBitmap(10, 2, 4, paddedRows),
              (std::vector<std::uint8_t>{0,   0,   0, 0, 0, 0, 0, 0, 0, 255,
                                         255, 255, 0, 0, 0, 0, 0, 0, 0, 0}));
}
