#pragma once
// Two- and three-dimensional vectors of floats.

#include <cmath>

namespace morvec {

struct Vector2 {
    float x = 0;
    float y = 0;

    Vector2() = default;
    Vector2(float x_, float y_) : x(x_), y(y_) {}

    Vector2 operator+(const Vector2& o) const { return {x + o.x, y + o.y}; }
    Vector2 operator-(const Vector2& o) const { return {x - o.x, y - o.y}; }
    Vector2 operator-() const { return {-x, -y}; }
    Vector2 operator*(float s) const { return {x * s, y * s}; }
    Vector2 operator/(float s) const { return {x / s, y / s}; }
    Vector2& operator+=(const Vector2& o) { return *this = *this + o; }
    Vector2& operator-=(const Vector2& o) { return *this = *this - o; }
    Vector2& operator*=(float s) { return *this = *this * s; }
    bool operator==(const Vector2& o) const { return x == o.x && y == o.y; }
    bool operator!=(const Vector2& o) const { return !(*this == o); }

    float length() const { return std::sqrt(x * x + y * y); }
    float squaredLength() const { return x * x + y * y; }
    float dot(const Vector2& o) const { return x * o.x + y * o.y; }
    // A zero vector stays zero.
    Vector2 normalised() const {
        float l = length();
        return l > 0 ? Vector2(x / l, y / l) : Vector2();
    }
};

struct Vector3 {
    float x = 0;
    float y = 0;
    float z = 0;

    Vector3() = default;
    Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    Vector3 operator+(const Vector3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vector3 operator-(const Vector3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vector3 operator-() const { return {-x, -y, -z}; }
    Vector3 operator*(float s) const { return {x * s, y * s, z * s}; }
    Vector3 operator/(float s) const { return {x / s, y / s, z / s}; }
    Vector3& operator+=(const Vector3& o) { return *this = *this + o; }
    Vector3& operator-=(const Vector3& o) { return *this = *this - o; }
    bool operator==(const Vector3& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const Vector3& o) const { return !(*this == o); }

    float length() const { return std::sqrt(x * x + y * y + z * z); }
    float squaredLength() const { return x * x + y * y + z * z; }
    float dot(const Vector3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vector3 cross(const Vector3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    Vector3 normalised() const {
        float l = length();
        return l > 0 ? Vector3(x / l, y / l, z / l) : Vector3();
    }
};

} // namespace morvec
