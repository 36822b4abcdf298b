// ampmaker: makes a hotspot map from a picture of coloured areas, and prints what a map holds.
//   ampmaker make PICTURE.png MAP.amp   one pixel per scene unit; black and transparent are no area
//   ampmaker dump MAP.amp               the header and every area's box, point and pixel count
#include "AmpBuilder.h"
#include "engine/scene/ActionMap.h"

#include "nimbo/Image.h"
#include "vessot/Exception.h"
#include "vessot/File.h"

#include <cstdio>

namespace {

int make(const char* picturePath, const char* mapPath) {
    nimbo::Image picture = nimbo::Image::load(picturePath);
    auto areas = ampmaker::findAreas(picture.data(), picture.getWidth(), picture.getHeight());
    std::vector<uint8_t> bytes = ampmaker::encode(areas, picture.getWidth(), picture.getHeight());
    vessot::writeFileAtomically(mapPath,
                                [&](vessot::StreamBase& out) { out.write_raw(bytes.data(), (int)bytes.size()); });
    std::printf("%s: %d x %d, %zu areas\n", mapPath, picture.getWidth(), picture.getHeight(), areas.size());
    return 0;
}

int dump(const char* mapPath) {
    ActionMap map(mapPath);
    std::printf("%s: name %s, header %d x %d, %zu areas\n", mapPath, map.getName().c_str(), map.headerA, map.headerB,
                map.getAreas().size());
    for (const ActionMapArea& area : map.getAreas()) {
        int pixels = 0;
        for (int y = area.y1; y <= area.y2; ++y) {
            for (int x = area.x1; x <= area.x2; ++x) {
                pixels += map.getAreaAt(x, y) == (uint32_t)area.id ? 1 : 0;
            }
        }
        std::printf("  %06X box (%d,%d)-(%d,%d) point (%d,%d) %d pixels\n", (unsigned)area.id, area.x1, area.y1,
                    area.x2, area.y2, area.px, area.py, pixels);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 4 && std::string(argv[1]) == "make") {
            return make(argv[2], argv[3]);
        }
        if (argc == 3 && std::string(argv[1]) == "dump") {
            return dump(argv[2]);
        }
        std::fprintf(stderr, "usage: ampmaker make PICTURE.png MAP.amp | ampmaker dump MAP.amp\n");
        return 2;
    } catch (const vessot::exception& e) {
        std::fprintf(stderr, "ampmaker: %s\n", e.message().c_str());
        return 1;
    }
}
