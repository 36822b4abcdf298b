// fontmaker: makes a bitmap font (the ".font" file and its page images) from a TrueType file.
//   fontmaker FONT.ttf NAME HEIGHT SCALE OUTPUT.font [RANGES]
// HEIGHT is the glyph size in pixels, SCALE the units per pixel the game lays text out in, RANGES
// the code points as "FIRST-LAST" or single numbers, comma-separated (decimal, or hex with 0x);
// by default printable ASCII, Latin-1, the common punctuation of 2010-2027 and the euro sign.

#include "runel/FontTtf.h"
#include "vessot/Array.h"
#include "vessot/Exception.h"

#include <cstdio>
#include <vector>

namespace {

constexpr const char* defaultRanges = "32-126,160-255,0x2010-0x2027,0x20AC";

bool readNumber(const vessot::String& text, uint32_t& value) {
    if (text.startsWith("0x") && text.substr(2).isHex()) {
        value = text.substr(2).hexToUInt();
        return true;
    }
    if (text.isNumber() && text.toInt() >= 0 && !text.contains(".")) {
        value = (uint32_t)text.toInt();
        return true;
    }
    return false;
}

bool readRanges(const vessot::String& text, std::vector<uint32_t>& codePoints) {
    for (const vessot::String& range : text.split(",", -1, true)) {
        vessot::String first = range, last = range;
        range.split("-", first, last);
        uint32_t from = 0, to = 0;
        if (!readNumber(first, from) || !readNumber(last, to) || to < from || to > 0x10FFFF) {
            return false;
        }
        for (uint32_t c = from; c <= to; ++c) {
            codePoints.push_back(c);
        }
    }
    return !codePoints.empty();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6 && argc != 7) {
        std::fprintf(stderr, "usage: fontmaker FONT.ttf NAME HEIGHT SCALE OUTPUT.font [RANGES]\n");
        return 2;
    }
    vessot::String height = argv[3], scale = argv[4];
    std::vector<uint32_t> codePoints;
    if (!height.isNumber() || !scale.isNumber() || !readRanges(argc == 7 ? argv[6] : defaultRanges, codePoints)) {
        std::fprintf(stderr, "fontmaker: HEIGHT and SCALE must be numbers and RANGES like 32-126,0x20AC\n");
        return 2;
    }
    try {
        runelttf::init();
        {
            runelttf::FontTtf font(argv[1], argv[2], height.toFloat(), scale.toFloat());
            runelttf::writeBitmapFont(font, codePoints, argv[5]);
        }
        runelttf::destroy();
    } catch (const vessot::exception& e) {
        std::fprintf(stderr, "fontmaker: %s\n", e.message().c_str());
        return 1;
    }
    return 0;
}
