#pragma once
// What the interface's and the menus' pictures are drawn with: paint with coverage, blending,
// cells filled by a picture function with 4 x 4 samples a pixel, and polygons and lines.

#include "nimbo/Color.h"
#include "nimbo/Image.h"

#include <functional>
#include <vector>

namespace artgen {

// A colour with coverage: what a shape gives at one sample point.
struct Paint {
    float r = 0, g = 0, b = 0, a = 0;
};

Paint paint(const nimbo::Color& c, float alpha = 1.0f);
// Paints src over dst.
Paint over(const Paint& dst, const Paint& src);
nimbo::Color lighter(const nimbo::Color& c, float t);
nimbo::Color darker(const nimbo::Color& c, float t);

// Fills a w x h cell at (x0, y0) with the picture, averaging 4 x 4 samples a pixel.
void fillCell(nimbo::Image& image, int x0, int y0, int w, int h, const std::function<Paint(float, float)>& picture);

struct Point {
    float x, y;
};

bool insidePolygon(const std::vector<Point>& polygon, float x, float y);
// A regular polygon (a star when inner is below 1) of the given corners around the origin, radius 1,
// the first corner pointing at the angle given in degrees.
std::vector<Point> regular(int corners, float startDegrees, float inner = 1.0f);
float segmentDistance(float x, float y, Point a, Point b);
bool onPolyline(const std::vector<Point>& line, float width, float x, float y);

// A rounded panel filling a w x h cell, with a border; the fill darkens a little toward the bottom.
Paint panel(float w, float h, const nimbo::Color& fill, const nimbo::Color& border, float x, float y);

} // namespace artgen
