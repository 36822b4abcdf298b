// Our hotspot-map reader on arbitrary bytes: the header and record checks, then hit tests over every
// area's box (and a margin around it) and the reference-point lookups of whatever it accepts.
#include "engine/scene/ActionMap.h"
#include "vessot/Exception.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// The reader takes a path: each input goes through one file of this process.
const std::string& inputPath() {
    static const std::string path = "/tmp/fuzz_amp_" + std::to_string(getpid()) + ".amp";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(inputPath().c_str(), "wb");
    if (!file) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    try {
        ActionMap map(inputPath());
        uint32_t sum = 0;
        for (const ActionMapArea& area : map.getAreas()) {
            // Boxes may be huge; a bounded walk still touches both corners and the edges.
            for (int y = area.y1 - 1; y <= area.y2 + 1 && y <= area.y1 + 40; ++y) {
                for (int x = area.x1 - 1; x <= area.x2 + 1 && x <= area.x1 + 40; ++x) {
                    sum += map.getAreaAt(x, y);
                }
            }
            sum += map.getAreaAt(area.x2, area.y2);
            sum += (uint32_t)(int)map.getAreaPosition((uint32_t)area.id).x;
        }
        if (sum == 0xFFFFFFFFu) {
            std::fputc(0, stderr);
        }
    } catch (const vessot::exception&) {
        // Rejected input is the expected outcome for most of it.
    }
    std::remove(inputPath().c_str());
    return 0;
}
