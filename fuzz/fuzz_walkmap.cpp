// Walk-map text: a file either loads, with finite points only, or is refused with a vessot::exception
// naming it; a loaded map answers point tests and path queries between points taken from the input
// without failing.

#include "trailex/Map.h"
#include "vessot/Exception.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vessot::String text(reinterpret_cast<const char*>(data), size);
    try {
        lba::Map map = lba::Map::fromText(text, "fuzz.walk");
        // Query points spread over the input's coordinate range, from its bytes.
        for (size_t i = 0; i + 4 <= size && i < 64; i += 4) {
            morvec::Vector2 from(data[i] * 2.0f - 20, data[i + 1] * 2.0f - 20);
            morvec::Vector2 to(data[i + 2] * 2.0f - 20, data[i + 3] * 2.0f - 20);
            map.isPointIn(from);
            vessot::Array<morvec::Vector2> path = map.findPath(from, to);
            for (int k = 1; k < path.size(); ++k) {
                if (path[k] == path[k - 1]) {
                    std::abort();
                }
            }
            if (path.size() == 1) {
                std::abort();
            }
        }
        for (const lba::Map::Region& region : map.getRegions()) {
            for (const vessot::Array<morvec::Vector2>& ring : region.rings) {
                for (const morvec::Vector2& point : ring) {
                    if (!std::isfinite(point.x) || !std::isfinite(point.y)) {
                        std::abort();
                    }
                }
            }
        }
    } catch (const vessot::exception& e) {
        if (e.message().find("fuzz.walk") == std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
