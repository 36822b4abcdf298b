// Walk-map text: a file either loads or is refused with a vessot::exception; a loaded map answers
// point tests and path queries between points taken from the input without failing.

#include "trailex/Map.h"
#include "vessot/Exception.h"

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
        map.getRegions();
    } catch (const vessot::exception&) {
    }
    return 0;
}
