#include "ActionMap.h"

#include "morvec/Rectangle.h"
#include "nimbo/Nimbo.h"
#include "nimbo/RenderSystem.h"
#include "nimboui/Exception.h"
#include "vessot/File.h"

namespace {

const char MAGIC[] = "QuendaAMPv3";
constexpr size_t MAGIC_LENGTH = 11;
// Bytes of one area record before its mask: id, six 16-bit values, the mask length.
constexpr int64_t RECORD_HEADER = 4 + 6 * 2 + 4;

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
    }
    file.close();
}

bool ActionMap::maskBit(const ActionMapArea& area, int x, int y) const {
    int64_t width = (int64_t)area.x2 - area.x1 + 1;
    int64_t k = width * (y - area.y1) + (x - area.x1);
    uint8_t byte = maskBlock[area.maskOffset + (size_t)(k / 8)];
    return (byte >> (7 - (k % 8))) & 1;
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
    for (const ActionMapArea& area : areas) {
        if (x < area.x1 || x > area.x2 || y < area.y1 || y > area.y2 || area.id == 0) {
            continue;
        }
        if (maskBit(area, x, y)) {
            return (uint32_t)area.id;
        }
    }
    return 0;
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
