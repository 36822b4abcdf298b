#pragma once
// A 4x4 matrix of floats, column-major (m[column * 4 + row]), acting on column vectors.

#include "morvec/Vector.h"

namespace morvec {

class Matrix4 {
public:
    float m[16];

    // The identity.
    Matrix4();

    static Matrix4 identity() { return Matrix4(); }
    // Maps left..right to -1..1 and bottom..top to -1..1 (so y = +1 is the top when top < bottom
    // in screen terms, as in ortho(0, w, h, 0)).
    static Matrix4 orthographic(float left, float right, float bottom, float top, float nearZ = -1, float farZ = 1);
    static Matrix4 translation(float x, float y, float z = 0);
    static Matrix4 scaling(float x, float y, float z = 1);
    // Rotation about the z axis, counter-clockwise for a positive angle in a y-up space.
    static Matrix4 rotationZ(float degrees);

    float& at(int row, int column) { return m[column * 4 + row]; }
    float at(int row, int column) const { return m[column * 4 + row]; }

    Matrix4 operator*(const Matrix4& o) const;
    // Transforms a point (w = 1), dividing by the resulting w.
    Vector3 transformPoint(const Vector3& p) const;
    Vector2 transformPoint(const Vector2& p) const;
    // The inverse; a singular matrix gives the identity.
    Matrix4 inverse() const;

    // Post-multiplies by a translation, as a model-view stack does.
    void translate(float x, float y, float z = 0);
    void scale(float x, float y, float z = 1);
    void setIdentity() { *this = Matrix4(); }
    bool operator==(const Matrix4& o) const;
};

} // namespace morvec
