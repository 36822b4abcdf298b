#pragma once
// Shapes as tests of a point of a cell (in pixels from its corner), for the interface's pictures
// drawn sample by sample, and the ways to join them.

#include "Canvas.h"

#include <functional>
#include <vector>

namespace artgen {

using Shape = std::function<bool(float, float)>;

Shape disc(float cx, float cy, float r);
Shape ellipse(float cx, float cy, float rx, float ry);
Shape polygon(std::vector<Point> points);
// The points joined by strokes of the width.
Shape line(std::vector<Point> points, float width);
Shape either(std::vector<Shape> shapes);
Shape without(Shape shape, Shape hole);

} // namespace artgen
