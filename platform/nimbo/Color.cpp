#include "nimbo/Color.h"

#include "vessot/Exception.h"

#include <algorithm>

namespace nimbo {

const Color Color::White(255, 255, 255, 255);
const Color Color::Black(0, 0, 0, 255);
const Color Color::Clear(0, 0, 0, 0);

namespace {

uint8_t clampByte(int v) {
    return (uint8_t)std::clamp(v, 0, 255);
}

uint8_t hexByte(const vessot::String& digits, size_t at) {
    return (uint8_t)digits.substr(at, 2).hexToUInt();
}

} // namespace

Color::Color(int r_, int g_, int b_, int a_) : r(clampByte(r_)), g(clampByte(g_)), b(clampByte(b_)), a(clampByte(a_)) {}

Color::Color(const vessot::String& hex) {
    vessot::String digits = hex.startsWith("0x") ? hex.substr(2) : hex;
    if ((digits.size() != 6 && digits.size() != 8) || !digits.isHex()) {
        VESSOT_THROW("Color format must be either 0xAARRGGBB or 0xRRGGBB");
    }
    size_t at = 0;
    if (digits.size() == 8) {
        a = hexByte(digits, 0);
        at = 2;
    }
    r = hexByte(digits, at);
    g = hexByte(digits, at + 2);
    b = hexByte(digits, at + 4);
}

} // namespace nimbo
