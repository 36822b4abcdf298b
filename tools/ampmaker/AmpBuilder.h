#pragma once
// Builds hotspot-map (".amp") bytes from a picture in which each colour is an area: one pixel per
// scene unit, black and fully transparent pixels belong to no area, and an area's id is its RGB
// colour. Areas are written in ascending id order.

#include <cstdint>
#include <vector>

namespace ampmaker {

struct Area {
    uint32_t id = 0;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    // The area's pixel nearest its centroid: where hints and markers point.
    int px = 0, py = 0;
    std::vector<uint8_t> mask;
};

// Pixels are RGBA, 4 bytes each, row by row.
std::vector<Area> findAreas(const uint8_t* rgba, int width, int height);
// The file's bytes; the two header values are the picture's width and height.
std::vector<uint8_t> encode(const std::vector<Area>& areas, int width, int height);

} // namespace ampmaker
