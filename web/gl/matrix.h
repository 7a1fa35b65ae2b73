#pragma once

#include <array>

// The matrix maths of OpenGL 1.1 and GLU, in double as GLU computes, column-major as OpenGL
// stores them: element (row r, column c) is m[c * 4 + r].
namespace fixedgl {

using vec3 = std::array<double, 3>;
using vec4 = std::array<double, 4>;

struct mat4 {
    std::array<double, 16> m;
    double at(int row, int column) const { return m[column * 4 + row]; }
};

mat4 identity();
mat4 operator*(const mat4& a, const mat4& b);
vec4 operator*(const mat4& a, const vec4& v);

// The matrices glTranslate, glRotate (degrees about an axis, normalised) and glOrtho multiply
// onto the current one, and those of gluPerspective (vertical field of view in degrees) and
// gluLookAt.
mat4 translation(double x, double y, double z);
mat4 rotation(double degrees, double x, double y, double z);
mat4 ortho(double left, double right, double bottom, double top, double near, double far);
mat4 perspective(double fovyDegrees, double aspect, double near, double far);
mat4 lookAt(const vec3& eye, const vec3& centre, const vec3& up);

// The inverse transpose of the upper 3x3, which carries normals into eye space, as a 3x3
// column-major array. A singular matrix gives zeros.
std::array<double, 9> normalMatrix(const mat4& modelview);

} // namespace fixedgl
