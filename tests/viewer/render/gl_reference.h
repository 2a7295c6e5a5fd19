#pragma once

// Reference maths for the GL tests, written from the textbook definitions so that the
// matrices and colours that OpenGL reports can be checked against values computed
// without OpenGL or GLU.

#include <array>

namespace zel::test {

// 4 x 4 matrix in OpenGL's column-major order: element (row r, column c) is m[4 * c + r].
using Matrix4 = std::array<double, 16>;

struct Vector3 {
    double x, y, z;
};

Matrix4 perspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar);
Matrix4 lookAtMatrix(Vector3 eye, Vector3 centre, Vector3 up);
Matrix4 rotationAboutY(double degrees);
Matrix4 multiply(const Matrix4& a, const Matrix4& b);

// The transformation of a point (w = 1) and of a direction (w = 0).
Vector3 transformPoint(const Matrix4& m, Vector3 p);
Vector3 transformDirection(const Matrix4& m, Vector3 d);

// The current matrix of the given mode (GL_PROJECTION_MATRIX, GL_MODELVIEW_MATRIX).
Matrix4 currentMatrix(unsigned int which);

// Largest difference of two matrices, each element's relative to its size (at least 1).
double matrixDifference(const Matrix4& a, const Matrix4& b);

// The mirror along z that turns a vertex (x, height, y) into the picture of a map with y
// (north) pointing away from the viewer.
Matrix4 northUp();

// The viewer's camera for a terrain whose highest vertex has height `top`, mirror included.
Matrix4 viewerCamera(double top);

// Fixed-function lighting of one vertex (eye coordinates) by the viewer's light 1 with
// OpenGL's default material and light model: global ambient 0.2 x material ambient 0.2,
// light ambient 0.2 x material ambient 0.2, light diffuse 1 x material diffuse 0.8 x the
// cosine towards the light. Grey, so one value serves every colour channel.
double litIntensity(Vector3 eyePosition, Vector3 eyeNormal);

} // namespace zel::test
