#include "Shapes.h"

#include <algorithm>
#include <cmath>

namespace artgen {

Shape disc(float cx, float cy, float r) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) <= r; };
}

Shape ellipse(float cx, float cy, float rx, float ry) {
    return [=](float x, float y) { return std::hypot((x - cx) / rx, (y - cy) / ry) <= 1.0f; };
}

Shape polygon(std::vector<Point> points) {
    return [points = std::move(points)](float x, float y) { return insidePolygon(points, x, y); };
}

Shape line(std::vector<Point> points, float width) {
    return [points = std::move(points), width](float x, float y) { return onPolyline(points, width, x, y); };
}

Shape either(std::vector<Shape> shapes) {
    return [shapes = std::move(shapes)](float x, float y) {
        return std::any_of(shapes.begin(), shapes.end(), [&](const Shape& s) { return s(x, y); });
    };
}

Shape without(Shape shape, Shape hole) {
    return [=](float x, float y) { return shape(x, y) && !hole(x, y); };
}

} // namespace artgen
