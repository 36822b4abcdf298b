#include "AmpBuilder.h"

#include <cstring>
#include <limits>
#include <map>

namespace ampmaker {

namespace {

void put32(std::vector<uint8_t>& out, int32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back((uint8_t)(((uint32_t)v >> (8 * i)) & 0xFF));
    }
}

void put16(std::vector<uint8_t>& out, int v) {
    out.push_back((uint8_t)((uint16_t)v & 0xFF));
    out.push_back((uint8_t)((uint16_t)v >> 8));
}

uint32_t colourAt(const uint8_t* rgba, int width, int x, int y) {
    const uint8_t* p = rgba + ((size_t)y * (size_t)width + (size_t)x) * 4;
    if (p[3] == 0) {
        return 0;
    }
    return ((uint32_t)p[0] << 16) | ((uint32_t)p[1] << 8) | p[2];
}

// How far the reference point is kept inside its area, so that a click around it still lands there.
constexpr int MARGIN = 4;

// How many units, up to MARGIN, the square around the pixel stays inside the area each way.
int depthAt(const uint8_t* rgba, int width, int height, int x, int y, uint32_t id) {
    auto inside = [&](int px, int py) {
        return px >= 0 && py >= 0 && px < width && py < height && colourAt(rgba, width, px, py) == id;
    };
    for (int k = 1; k <= MARGIN; ++k) {
        for (int d = -k; d <= k; ++d) {
            if (!inside(x + d, y - k) || !inside(x + d, y + k) || !inside(x - k, y + d) || !inside(x + k, y + d)) {
                return k - 1;
            }
        }
    }
    return MARGIN;
}

} // namespace

std::vector<Area> findAreas(const uint8_t* rgba, int width, int height) {
    struct Extent {
        Area area;
        double sumX = 0, sumY = 0;
        long count = 0;
    };
    std::map<uint32_t, Extent> byId;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t id = colourAt(rgba, width, x, y);
            if (id == 0) {
                continue;
            }
            auto [it, fresh] = byId.try_emplace(id);
            Extent& e = it->second;
            if (fresh) {
                e.area = {id, x, y, x, y, 0, 0, {}};
            }
            e.area.x1 = std::min(e.area.x1, x);
            e.area.y1 = std::min(e.area.y1, y);
            e.area.x2 = std::max(e.area.x2, x);
            e.area.y2 = std::max(e.area.y2, y);
            e.sumX += x;
            e.sumY += y;
            ++e.count;
        }
    }
    std::vector<Area> areas;
    for (auto& [id, e] : byId) {
        Area& a = e.area;
        int boxWidth = a.x2 - a.x1 + 1;
        size_t bits = (size_t)boxWidth * (size_t)(a.y2 - a.y1 + 1);
        a.mask.assign((bits + 7) / 8, 0);
        double cx = e.sumX / (double)e.count;
        double cy = e.sumY / (double)e.count;
        double best = std::numeric_limits<double>::max();
        int bestDepth = -1;
        for (int y = a.y1; y <= a.y2; ++y) {
            for (int x = a.x1; x <= a.x2; ++x) {
                if (colourAt(rgba, width, x, y) != id) {
                    continue;
                }
                size_t k = (size_t)boxWidth * (size_t)(y - a.y1) + (size_t)(x - a.x1);
                a.mask[k / 8] = (uint8_t)(a.mask[k / 8] | (0x80 >> (k % 8)));
                // The deepest pixels win; among them, the one nearest the centroid.
                double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                int depth = depthAt(rgba, width, height, x, y, id);
                if (depth > bestDepth || (depth == bestDepth && d < best)) {
                    best = d;
                    bestDepth = depth;
                    a.px = x;
                    a.py = y;
                }
            }
        }
        areas.push_back(std::move(a));
    }
    return areas;
}

std::vector<uint8_t> encode(const std::vector<Area>& areas, int width, int height) {
    std::vector<uint8_t> out(std::begin("QuendaAMPv3"), std::begin("QuendaAMPv3") + 11);
    size_t maskBytes = 0;
    for (const Area& a : areas) {
        maskBytes += a.mask.size();
    }
    put32(out, (int32_t)areas.size());
    put32(out, width);
    put32(out, height);
    put32(out, (int32_t)maskBytes);
    for (const Area& a : areas) {
        put32(out, (int32_t)a.id);
        put16(out, a.x1);
        put16(out, a.y1);
        put16(out, a.x2);
        put16(out, a.y2);
        put16(out, a.px);
        put16(out, a.py);
        put32(out, (int32_t)a.mask.size());
        out.insert(out.end(), a.mask.begin(), a.mask.end());
    }
    return out;
}

} // namespace ampmaker
