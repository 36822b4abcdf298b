// Checks walk-map files: each one either loads, and its regions with their outlines, holes and the
// corners paths bend around are printed, or the problem is printed with the file and line at fault.
// The exit status is 1 when any file is refused.
//
//   walkcheck FILE...

#include "trailex/Map.h"
#include "vessot/Exception.h"

#include <cstdio>

namespace {

void printPoints(const char* label, const vessot::Array<morvec::Vector2>& points) {
    std::printf("    %s %d:", label, points.size());
    for (const morvec::Vector2& p : points) {
        std::printf(" %s,%s", vessot::String::fromFloat(p.x).c_str(), vessot::String::fromFloat(p.y).c_str());
    }
    std::printf("\n");
}

bool check(const char* path) {
    try {
        lba::Map map{vessot::String(path)};
        vessot::Array<lba::Map::Region> regions = map.getRegions();
        std::printf("%s: %d region%s\n", path, regions.size(), regions.size() == 1 ? "" : "s");
        for (int r = 0; r < regions.size(); ++r) {
            const lba::Map::Region& region = regions[r];
            std::printf("  region %d: %d hole%s\n", r + 1, region.rings.size() - 1,
                        region.rings.size() == 2 ? "" : "s");
            for (int i = 0; i < region.rings.size(); ++i) {
                printPoints(i == 0 ? "outline" : "hole", region.rings[i]);
            }
            printPoints("corners", region.corners);
        }
        return true;
    } catch (const vessot::exception& e) {
        std::fprintf(stderr, "%s\n", e.message().c_str());
        return false;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE...\n", argv[0]);
        return 2;
    }
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        ok = check(argv[i]) && ok;
    }
    return ok ? 0 : 1;
}
