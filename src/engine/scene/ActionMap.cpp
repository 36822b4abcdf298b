#include "engine/scene/ActionMap.h"

#include "morvec/Rectangle.h"
#include "nimbo/Nimbo.h"
#include "nimbo/RenderSystem.h"
#include "nimboui/Exception.h"
#include "vessot/File.h"

#include <algorithm>
#include <climits>

namespace {

const char MAGIC[] = "QuendaAMPv3";
constexpr size_t MAGIC_LENGTH = 11;
// Bytes of one area record before its mask: id, six 16-bit values, the mask length.
constexpr int64_t RECORD_HEADER = 4 + 6 * 2 + 4;
// The hit-test grid: cells of 1 << GRID_SHIFT units, at most GRID_SIDE of them on each axis, and
// at most GRID_MAX_ENTRIES area entries in all.
constexpr int GRID_SHIFT = 4;
constexpr int64_t GRID_SIDE = 64;
constexpr size_t GRID_MAX_ENTRIES = 1 << 20;

[[noreturn]] void refuse(const String& path, const String& why) {
    throw nimboui::_GenericException(path + ": " + why, "GenericException", __FILE__, __LINE__);
}

} // namespace

uint32_t AmpRectangleOverlay::hitTest(int px, int py) {
    return morvec::Rectangle(x, y, w, h).isPointInside((float)px, (float)py) ? id : 0;
}

ActionMap::ActionMap(const String& path) {
    if (path == "dummy") {
        name = "dummy";
        dummy = true;
        return;
    }
    read(path);
}

ActionMap::~ActionMap() {
    clearOverlays();
}

void ActionMap::read(const String& path) {
    if (!vessot::Resource::exists(path, true)) {
        throw nimboui::_GenericException("Can't find file " + path, "GenericException", __FILE__, __LINE__);
    }
    vessot::Resource file(path);
    String fileName = path.substr(path.rfind('/') == String::npos ? 0 : path.rfind('/') + 1);
    name = fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0);

    int64_t fileSize = file.size();
    char magic[MAGIC_LENGTH + 1] = {};
    int got = file.read_raw(magic, (int)MAGIC_LENGTH);
    if (got != (int)MAGIC_LENGTH || String(magic, MAGIC_LENGTH) != MAGIC) {
        refuse(path, "magic string doesn't match: '" + String(magic) + "', should be 'QuendaAMPv3'");
    }
    if (fileSize < (int64_t)MAGIC_LENGTH + 16) {
        refuse(path, "truncated header");
    }
    int32_t count = file.load_int();
    headerA = file.load_int();
    headerB = file.load_int();
    int32_t maskBytes = file.load_int();
    int64_t remaining = fileSize - file.position();
    if (maskBytes < 0 || maskBytes > remaining) {
        refuse(path, "mask block of " + String(maskBytes) + " bytes does not fit the file");
    }
    if (count > 0 && (int64_t)count * RECORD_HEADER > remaining) {
        refuse(path, "record count " + String(count) + " overruns the file");
    }
    maskBlock.assign((size_t)maskBytes, 0);
    size_t offset = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (fileSize - file.position() < RECORD_HEADER) {
            refuse(path, "truncated at area record " + String(i));
        }
        ActionMapArea area;
        area.id = file.load_int();
        area.x1 = file.load_short();
        area.y1 = file.load_short();
        area.x2 = file.load_short();
        area.y2 = file.load_short();
        area.px = file.load_short();
        area.py = file.load_short();
        int32_t maskLength = file.load_int();
        if (area.x2 < area.x1 || area.y2 < area.y1) {
            refuse(path, "area record " + String(i) + " has an inverted box");
        }
        int64_t bits = (int64_t)(area.x2 - area.x1 + 1) * (area.y2 - area.y1 + 1);
        if (maskLength < 0 || (int64_t)maskLength < (bits + 7) / 8) {
            refuse(path, "area record " + String(i) + " has a mask shorter than its box");
        }
        if ((int64_t)offset + maskLength > maskBytes) {
            refuse(path, "the masks exceed the mask block of " + String(maskBytes) + " bytes");
        }
        if (file.read_raw(maskBlock.data() + offset, maskLength) != maskLength) {
            refuse(path, "truncated in the mask of area record " + String(i));
        }
        area.maskOffset = offset;
        offset += (size_t)maskLength;
        areas.push_back(area);
        probes.push_back({area.x1, area.y1, (uint32_t)(area.x2 - area.x1 + 1), (uint32_t)(area.y2 - area.y1 + 1),
                          area.id == 0 ? 0u : (uint32_t)area.id, (uint32_t)area.maskOffset});
    }
    file.close();
    buildGrid();
}

void ActionMap::buildGrid() {
    auto right = [](const Probe& probe) { return (int64_t)probe.x1 + probe.width - 1; };
    auto bottom = [](const Probe& probe) { return (int64_t)probe.y1 + probe.height - 1; };
    int64_t left = INT64_MAX, top = INT64_MAX, rightmost = INT64_MIN, lowest = INT64_MIN;
    for (const Probe& probe : probes) {
        if (probe.id != 0) {
            left = std::min<int64_t>(left, probe.x1);
            top = std::min<int64_t>(top, probe.y1);
            rightmost = std::max(rightmost, right(probe));
            lowest = std::max(lowest, bottom(probe));
        }
    }
    if (left > rightmost) {
        return;
    }
    // Cells of 16 units, larger when the boxes spread wider than 64 such cells.
    int shift = GRID_SHIFT;
    while (((rightmost - left) >> shift) >= GRID_SIDE || ((lowest - top) >> shift) >= GRID_SIDE) {
        ++shift;
    }
    Grid built{left, top, ((rightmost - left) >> shift) + 1, ((lowest - top) >> shift) + 1, shift, {}, {}};
    struct Span {
        int64_t column1, row1, column2, row2;
    };
    auto span = [&](const Probe& probe) {
        return Span{(probe.x1 - left) >> shift, (probe.y1 - top) >> shift, (right(probe) - left) >> shift,
                    (bottom(probe) - top) >> shift};
    };
    size_t entries = 0;
    for (const Probe& probe : probes) {
        Span s = span(probe);
        entries += probe.id == 0 ? 0 : (size_t)((s.column2 - s.column1 + 1) * (s.row2 - s.row1 + 1));
    }
    if (entries > GRID_MAX_ENTRIES) {
        return;
    }
    // Two passes keep each cell's list in file order: count, then fill.
    std::vector<uint32_t> filled((size_t)(built.columns * built.rows) + 1, 0);
    built.cellAreas.resize(entries);
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < probes.size(); ++i) {
            Span s = span(probes[i]);
            for (int64_t row = s.row1; probes[i].id != 0 && row <= s.row2; ++row) {
                for (int64_t column = s.column1; column <= s.column2; ++column) {
                    size_t cell = (size_t)(row * built.columns + column);
                    if (pass == 0) {
                        ++filled[cell + 1];
                    } else {
                        built.cellAreas[filled[cell]++] = (uint32_t)i;
                    }
                }
            }
        }
        if (pass == 0) {
            for (size_t cell = 1; cell < filled.size(); ++cell) {
                filled[cell] += filled[cell - 1];
            }
            built.cellStart = filled;
        }
    }
    grid = std::move(built);
}

uint32_t ActionMap::getAreaAt(int x, int y) const {
    if (dummy) {
        return 0;
    }
    for (AmpOverlay* overlay : overlays) {
        if (uint32_t id = overlay->hitTest(x, y)) {
            return id;
        }
    }
    if (grid.cellStart.empty()) {
        for (const Probe& probe : probes) {
            if (hits(probe, x, y)) {
                return probe.id;
            }
        }
        return 0;
    }
    int64_t column = ((int64_t)x - grid.left) >> grid.shift;
    int64_t row = ((int64_t)y - grid.top) >> grid.shift;
    if (x < grid.left || y < grid.top || column >= grid.columns || row >= grid.rows) {
        return 0;
    }
    size_t cell = (size_t)(row * grid.columns + column);
    for (uint32_t i = grid.cellStart[cell]; i < grid.cellStart[cell + 1]; ++i) {
        const Probe& probe = probes[grid.cellAreas[i]];
        if (hits(probe, x, y)) {
            return probe.id;
        }
    }
    return 0;
}

bool ActionMap::hits(const Probe& probe, int x, int y) const {
    // One unsigned compare per axis rejects points on either side of the box.
    uint64_t dx = (uint64_t)((int64_t)x - probe.x1);
    uint64_t dy = (uint64_t)((int64_t)y - probe.y1);
    if (dx >= probe.width || dy >= probe.height || probe.id == 0) {
        return false;
    }
    uint64_t k = probe.width * dy + dx;
    return (maskBlock[probe.maskOffset + k / 8] >> (7 - k % 8)) & 1;
}

morvec::Vector2 ActionMap::getAreaPosition(uint32_t id) const {
    for (const ActionMapArea& area : areas) {
        if ((uint32_t)area.id == id) {
            return {(float)area.px, (float)area.py};
        }
    }
    for (AmpOverlay* overlay : overlays) {
        if (overlay->id == id) {
            return overlay->getPosition();
        }
    }
    return {0, 0};
}

void ActionMap::clearOverlays() {
    for (AmpOverlay* overlay : overlays) {
        delete overlay;
    }
    overlays.clear();
}

void AmpRectangleOverlay::draw() {
    if (nimbo::rendersys) {
        nimbo::rendersys->drawFilledRect(morvec::Rectangle(x, y, w, h),
                                         nimbo::Color((id >> 16) & 0xFF, (id >> 8) & 0xFF, id & 0xFF, 127));
    }
}
