#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace artgen {

using nimbo::Color;

Paint paint(const Color& c, float alpha) {
    return {(float)c.r, (float)c.g, (float)c.b, alpha * c.a / 255.0f};
}

Paint over(const Paint& dst, const Paint& src) {
    float a = src.a + dst.a * (1 - src.a);
    if (a <= 0) {
        return {};
    }
    auto mix = [&](float s, float d) { return (s * src.a + d * dst.a * (1 - src.a)) / a; };
    return {mix(src.r, dst.r), mix(src.g, dst.g), mix(src.b, dst.b), a};
}

Color lighter(const Color& c, float t) {
    auto up = [t](int v) { return (uint8_t)std::lround(v + (255 - v) * t); };
    return Color(up(c.r), up(c.g), up(c.b), c.a);
}

Color darker(const Color& c, float t) {
    auto down = [t](int v) { return (uint8_t)std::lround(v * (1 - t)); };
    return Color(down(c.r), down(c.g), down(c.b), c.a);
}

void fillCell(nimbo::Image& image, int x0, int y0, int w, int h, const std::function<Paint(float, float)>& picture) {
    constexpr int N = 4;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < N; ++sy) {
                for (int sx = 0; sx < N; ++sx) {
                    Paint p = picture(x + (sx + 0.5f) / N, y + (sy + 0.5f) / N);
                    r += p.r * p.a;
                    g += p.g * p.a;
                    b += p.b * p.a;
                    a += p.a;
                }
            }
            Color c = Color::Clear;
            if (a > 0) {
                c = Color((uint8_t)std::lround(r / a), (uint8_t)std::lround(g / a), (uint8_t)std::lround(b / a),
                          (uint8_t)std::lround(255 * a / (N * N)));
            }
            image.setPixel(x0 + x, y0 + y, c);
        }
    }
}

bool insidePolygon(const std::vector<Point>& polygon, float x, float y) {
    bool in = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Point& a = polygon[i];
        const Point& b = polygon[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
            in = !in;
        }
    }
    return in;
}

std::vector<Point> regular(int corners, float startDegrees, float inner) {
    std::vector<Point> points;
    int count = inner < 1.0f ? corners * 2 : corners;
    for (int i = 0; i < count; ++i) {
        float angle = (startDegrees + 360.0f * i / count) * 3.14159265f / 180.0f;
        float radius = inner < 1.0f && i % 2 ? inner : 1.0f;
        points.push_back({radius * std::cos(angle), radius * std::sin(angle)});
    }
    return points;
}

float segmentDistance(float x, float y, Point a, Point b) {
    float dx = b.x - a.x, dy = b.y - a.y;
    float t = std::clamp(((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

bool onPolyline(const std::vector<Point>& line, float width, float x, float y) {
    for (size_t i = 1; i < line.size(); ++i) {
        if (segmentDistance(x, y, line[i - 1], line[i]) <= width / 2) {
            return true;
        }
    }
    return false;
}

Paint panel(float w, float h, const Color& fill, const Color& border, float x, float y) {
    constexpr float R = 10;
    float cx = std::clamp(x, R, w - R);
    float cy = std::clamp(y, R, h - R);
    float d = std::hypot(x - cx, y - cy);
    if (d > R - 1) {
        return {};
    }
    if (d > R - 3.5f || x < 2.5f || y < 2.5f || x > w - 2.5f || y > h - 2.5f) {
        return paint(border);
    }
    return paint(darker(fill, 0.12f * y / h));
}

} // namespace artgen
