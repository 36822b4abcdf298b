#pragma once
// An axis-aligned rectangle: top-left corner and size.

#include "morvec/Vector.h"

namespace morvec {

struct Rectangle {
    float x = 0;
    float y = 0;
    float w = 0;
    float h = 0;

    Rectangle() = default;
    Rectangle(float x_, float y_, float w_, float h_) : x(x_), y(y_), w(w_), h(h_) {}

    float left() const { return x; }
    float top() const { return y; }
    float right() const { return x + w; }
    float bottom() const { return y + h; }
    Vector2 getPosition() const { return {x, y}; }
    Vector2 getSize() const { return {w, h}; }
    Vector2 getCenter() const { return {x + w / 2, y + h / 2}; }

    // Edges count as inside.
    bool isPointInside(float px, float py) const { return px >= x && px <= x + w && py >= y && py <= y + h; }
    bool isPointInside(const Vector2& p) const { return isPointInside(p.x, p.y); }
    // Overlap with a positive area; rectangles that only touch do not intersect.
    bool intersects(const Rectangle& o) const { return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h; }
    Rectangle offset(float dx, float dy) const { return {x + dx, y + dy, w, h}; }
    Rectangle offset(const Vector2& d) const { return offset(d.x, d.y); }
    bool operator==(const Rectangle& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

} // namespace morvec
