#include "tests/viewer/render/gl_reference.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace zel::test {
namespace {

double dot(Vector3 a, Vector3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector3 cross(Vector3 a, Vector3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vector3 normalised(Vector3 v) {
    const double length = std::sqrt(dot(v, v));
    return {v.x / length, v.y / length, v.z / length};
}

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

Matrix4 perspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar) {
    const double f = 1.0 / std::tan(radians(fovyDegrees) / 2.0);
    Matrix4 m{};
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (zFar + zNear) / (zNear - zFar);
    m[11] = -1.0;
    m[14] = 2.0 * zFar * zNear / (zNear - zFar);
    return m;
}

Matrix4 lookAtMatrix(Vector3 eye, Vector3 centre, Vector3 up) {
    const Vector3 forward = normalised({centre.x - eye.x, centre.y - eye.y, centre.z - eye.z});
    const Vector3 side = normalised(cross(forward, up));
    const Vector3 upright = cross(side, forward);
    Matrix4 m{};
    m[0] = side.x;
    m[4] = side.y;
    m[8] = side.z;
    m[1] = upright.x;
    m[5] = upright.y;
    m[9] = upright.z;
    m[2] = -forward.x;
    m[6] = -forward.y;
    m[10] = -forward.z;
    m[12] = -dot(side, eye);
    m[13] = -dot(upright, eye);
    m[14] = dot(forward, eye);
    m[15] = 1.0;
    return m;
}

Matrix4 rotationAboutY(double degrees) {
    const double c = std::cos(radians(degrees));
    const double s = std::sin(radians(degrees));
    Matrix4 m{};
    m[0] = c;
    m[2] = -s;
    m[5] = 1.0;
    m[8] = s;
    m[10] = c;
    m[15] = 1.0;
    return m;
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 m{};
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += a[4 * k + r] * b[4 * c + k];
            }
            m[4 * c + r] = sum;
        }
    }
    return m;
}

Vector3 transformPoint(const Matrix4& m, Vector3 p) {
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
            m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

Vector3 transformDirection(const Matrix4& m, Vector3 d) {
    return {m[0] * d.x + m[4] * d.y + m[8] * d.z, m[1] * d.x + m[5] * d.y + m[9] * d.z,
            m[2] * d.x + m[6] * d.y + m[10] * d.z};
}

Matrix4 currentMatrix(unsigned int which) {
    Matrix4 m{};
    glGetDoublev(which, m.data());
    return m;
}

double matrixDifference(const Matrix4& a, const Matrix4& b) {
    double worst = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const double scale = std::max({1.0, std::abs(a[i]), std::abs(b[i])});
        worst = std::max(worst, std::abs(a[i] - b[i]) / scale);
    }
    return worst;
}

Matrix4 northUp() {
    Matrix4 m{};
    m[0] = 1.0;
    m[5] = 1.0;
    m[10] = -1.0;
    m[15] = 1.0;
    return m;
}

Matrix4 viewerCamera(double top) {
    return multiply(lookAtMatrix({0, top + 100, 250}, {0, 0, 0}, {0, 1, 0}), northUp());
}

double litIntensity(Vector3 eyePosition, Vector3 eyeNormal) {
    const Vector3 light{100.0, 300.0, 100.0};
    const Vector3 toLight =
        normalised({light.x - eyePosition.x, light.y - eyePosition.y, light.z - eyePosition.z});
    const double ambient = 0.2 * 0.2 + 0.2 * 0.2;
    const double diffuse = 1.0 * 0.8 * std::max(0.0, dot(eyeNormal, toLight));
    return std::min(1.0, ambient + diffuse);
}

} // namespace zel::test
