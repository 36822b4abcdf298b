#pragma once
// Walk maps: the walkable floor of a scene as polygons (areas with holes) in scene coordinates, and
// the shortest any-angle paths across it. Each area is a region of its own; no path leads from one
// area to another. The file format is described in docs/formats.md.

#include "morvec/Vector.h"
#include "vessot/Array.h"
#include "vessot/String.h"

#include <memory>

namespace lba {

class Map {
public:
    // The empty map: everything is walkable and every path is a straight line.
    Map();
    // Reads a walk map from the game's resources; a missing or malformed file throws a
    // vessot::exception whose message names the file and the line at fault.
    explicit Map(const vessot::String& path);
    // Reads a walk map from text; name stands for the file in error messages.
    static Map fromText(const vessot::String& text, const vessot::String& name);
    ~Map();
    Map(Map&&) noexcept;
    Map& operator=(Map&&) noexcept;

    // The shortest path from one point to another: the start, the corners it bends around, then the
    // end. A start up to 2 units outside every area is moved onto the nearest area; a target outside
    // every area is replaced by the nearest walkable point of the start's area. Empty when the start
    // lies in no area, the target lies in another area, or the end equals the start.
    vessot::Array<morvec::Vector2> findPath(const morvec::Vector2& from, const morvec::Vector2& to) const;
    // Inside an area and outside its holes, edges included. The empty map answers true.
    bool isPointIn(const morvec::Vector2& point) const;

    // An area as loaded: its outer boundary first, then its holes; and the corners paths bend around.
    struct Region {
        vessot::Array<vessot::Array<morvec::Vector2>> rings;
        vessot::Array<morvec::Vector2> corners;
    };
    vessot::Array<Region> getRegions() const;

private:
    struct Data;
    explicit Map(std::unique_ptr<Data> data);

    std::unique_ptr<Data> data;
};

} // namespace lba
