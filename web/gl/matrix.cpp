#include "web/gl/matrix.h"

#include <cmath>

namespace fixedgl {

namespace {

constexpr double pi = 3.14159265358979323846;

double radians(double degrees) {
    return degrees * pi / 180.0;
}

vec3 normalised(const vec3& v) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0.0) {
        return v;
    }
    return {v[0] / length, v[1] / length, v[2] / length};
}

vec3 cross(const vec3& a, const vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// Builds a matrix from rows as they are written on paper.
mat4 fromRows(const std::array<double, 16>& rows) {
    mat4 out{};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out.m[c * 4 + r] = rows[r * 4 + c];
        }
    }
    return out;
}

} // namespace

mat4 identity() {
    return fromRows({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
}

mat4 operator*(const mat4& a, const mat4& b) {
    mat4 out{};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += a.at(r, k) * b.at(k, c);
            }
            out.m[c * 4 + r] = sum;
        }
    }
    return out;
}

vec4 operator*(const mat4& a, const vec4& v) {
    vec4 out{};
    for (int r = 0; r < 4; ++r) {
        out[r] = a.at(r, 0) * v[0] + a.at(r, 1) * v[1] + a.at(r, 2) * v[2] + a.at(r, 3) * v[3];
    }
    return out;
}

mat4 translation(double x, double y, double z) {
    return fromRows({1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, z, 0, 0, 0, 1});
}

mat4 rotation(double degrees, double x, double y, double z) {
    const vec3 axis = normalised({x, y, z});
    const double c = std::cos(radians(degrees));
    const double s = std::sin(radians(degrees));
    const double t = 1.0 - c;
    const double ax = axis[0], ay = axis[1], az = axis[2];
    return fromRows({ax * ax * t + c, ax * ay * t - az * s, ax * az * t + ay * s, 0,
                     ay * ax * t + az * s, ay * ay * t + c, ay * az * t - ax * s, 0,
                     az * ax * t - ay * s, az * ay * t + ax * s, az * az * t + c, 0, 0, 0, 0, 1});
}

mat4 ortho(double left, double right, double bottom, double top, double near, double far) {
    return fromRows({2 / (right - left), 0, 0, -(right + left) / (right - left), 0,
                     2 / (top - bottom), 0, -(top + bottom) / (top - bottom), 0, 0,
                     -2 / (far - near), -(far + near) / (far - near), 0, 0, 0, 1});
}

mat4 perspective(double fovyDegrees, double aspect, double near, double far) {
    const double f = 1.0 / std::tan(radians(fovyDegrees) / 2.0);
    return fromRows({f / aspect, 0, 0, 0, 0, f, 0, 0, 0, 0, (far + near) / (near - far),
                     2 * far * near / (near - far), 0, 0, -1, 0});
}

mat4 lookAt(const vec3& eye, const vec3& centre, const vec3& up) {
    const vec3 f = normalised({centre[0] - eye[0], centre[1] - eye[1], centre[2] - eye[2]});
    const vec3 s = normalised(cross(f, up));
    const vec3 u = cross(s, f);
    const mat4 turn =
        fromRows({s[0], s[1], s[2], 0, u[0], u[1], u[2], 0, -f[0], -f[1], -f[2], 0, 0, 0, 0, 1});
    return turn * translation(-eye[0], -eye[1], -eye[2]);
}

std::array<double, 9> normalMatrix(const mat4& mv) {
    const double a = mv.at(0, 0), b = mv.at(0, 1), c = mv.at(0, 2);
    const double d = mv.at(1, 0), e = mv.at(1, 1), f = mv.at(1, 2);
    const double g = mv.at(2, 0), h = mv.at(2, 1), i = mv.at(2, 2);
    const double det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    if (det == 0.0) {
        return {};
    }
    // The inverse's transpose is the cofactor matrix over the determinant; stored by column.
    const double cof[3][3] = {{e * i - f * h, -(d * i - f * g), d * h - e * g},
                              {-(b * i - c * h), a * i - c * g, -(a * h - b * g)},
                              {b * f - c * e, -(a * f - c * d), a * e - b * d}};
    std::array<double, 9> out{};
    for (int r = 0; r < 3; ++r) {
        for (int col = 0; col < 3; ++col) {
            out[col * 3 + r] = cof[r][col] / det;
        }
    }
    return out;
}

} // namespace fixedgl
