#include "nimbo/Utf8.h"

namespace nimbo {

uint32_t nextCodePoint(std::string_view text, size_t& pos) {
    auto byte = [&](size_t i) { return (uint8_t)text[i]; };
    uint8_t lead = byte(pos);
    int extra = 0;
    uint32_t cp = 0;
    uint32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return REPLACEMENT_CHARACTER;
    }
    if (pos + extra >= text.size()) {
        ++pos;
        return REPLACEMENT_CHARACTER;
    }
    for (int i = 1; i <= extra; ++i) {
        uint8_t next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return REPLACEMENT_CHARACTER;
        }
        cp = cp << 6 | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return REPLACEMENT_CHARACTER;
    }
    pos += extra + 1;
    return cp;
}

} // namespace nimbo
