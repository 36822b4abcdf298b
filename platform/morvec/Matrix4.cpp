#include "morvec/Matrix4.h"

#include <cmath>
#include <numbers>

namespace morvec {

Matrix4::Matrix4() : m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1} {}

Matrix4 Matrix4::orthographic(float left, float right, float bottom, float top, float nearZ, float farZ) {
    Matrix4 r;
    r.at(0, 0) = 2 / (right - left);
    r.at(1, 1) = 2 / (top - bottom);
    r.at(2, 2) = -2 / (farZ - nearZ);
    r.at(0, 3) = -(right + left) / (right - left);
    r.at(1, 3) = -(top + bottom) / (top - bottom);
    r.at(2, 3) = -(farZ + nearZ) / (farZ - nearZ);
    return r;
}

Matrix4 Matrix4::translation(float x, float y, float z) {
    Matrix4 r;
    r.at(0, 3) = x;
    r.at(1, 3) = y;
    r.at(2, 3) = z;
    return r;
}

Matrix4 Matrix4::scaling(float x, float y, float z) {
    Matrix4 r;
    r.at(0, 0) = x;
    r.at(1, 1) = y;
    r.at(2, 2) = z;
    return r;
}

Matrix4 Matrix4::rotationZ(float degrees) {
    float a = degrees * std::numbers::pi_v<float> / 180.0f;
    float c = std::cos(a);
    float s = std::sin(a);
    Matrix4 r;
    r.at(0, 0) = c;
    r.at(0, 1) = -s;
    r.at(1, 0) = s;
    r.at(1, 1) = c;
    return r;
}

Matrix4 Matrix4::operator*(const Matrix4& o) const {
    Matrix4 r;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += at(row, k) * o.at(k, col);
            }
            r.at(row, col) = sum;
        }
    }
    return r;
}

Vector3 Matrix4::transformPoint(const Vector3& p) const {
    float x = at(0, 0) * p.x + at(0, 1) * p.y + at(0, 2) * p.z + at(0, 3);
    float y = at(1, 0) * p.x + at(1, 1) * p.y + at(1, 2) * p.z + at(1, 3);
    float z = at(2, 0) * p.x + at(2, 1) * p.y + at(2, 2) * p.z + at(2, 3);
    float w = at(3, 0) * p.x + at(3, 1) * p.y + at(3, 2) * p.z + at(3, 3);
    if (w != 0 && w != 1) {
        return {x / w, y / w, z / w};
    }
    return {x, y, z};
}

Vector2 Matrix4::transformPoint(const Vector2& p) const {
    Vector3 r = transformPoint(Vector3(p.x, p.y, 0));
    return {r.x, r.y};
}

Matrix4 Matrix4::inverse() const {
    // Gauss-Jordan elimination with partial pivoting, in double precision.
    double a[4][8];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            a[r][c] = at(r, c);
            a[r][c + 4] = r == c ? 1.0 : 0.0;
        }
    }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r) {
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) {
                pivot = r;
            }
        }
        if (std::fabs(a[pivot][col]) < 1e-12) {
            return Matrix4();
        }
        if (pivot != col) {
            for (int c = 0; c < 8; ++c) {
                std::swap(a[pivot][c], a[col][c]);
            }
        }
        double d = a[col][col];
        for (int c = 0; c < 8; ++c) {
            a[col][c] /= d;
        }
        for (int r = 0; r < 4; ++r) {
            if (r != col && a[r][col] != 0) {
                double f = a[r][col];
                for (int c = 0; c < 8; ++c) {
                    a[r][c] -= f * a[col][c];
                }
            }
        }
    }
    Matrix4 inv;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            inv.at(r, c) = (float)a[r][c + 4];
        }
    }
    return inv;
}

void Matrix4::translate(float x, float y, float z) {
    *this = *this * translation(x, y, z);
}

void Matrix4::scale(float x, float y, float z) {
    *this = *this * scaling(x, y, z);
}

bool Matrix4::operator==(const Matrix4& o) const {
    for (int i = 0; i < 16; ++i) {
        if (m[i] != o.m[i]) {
            return false;
        }
    }
    return true;
}

} // namespace morvec
