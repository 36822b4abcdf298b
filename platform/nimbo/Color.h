#pragma once
// A colour with alpha, one byte per channel.

#include "vessot/String.h"

#include <cstdint>

namespace nimbo {

struct Color {
    uint8_t r = 255;
    uint8_t g = 255;
    uint8_t b = 255;
    uint8_t a = 255;

    Color() = default;
    // Channels outside 0..255 are clamped.
    Color(int r, int g, int b, int a = 255);
    // "RRGGBB" (opaque) or "AARRGGBB", with or without a leading "0x"; anything else throws
    // vessot::exception "Color format must be either 0xAARRGGBB or 0xRRGGBB".
    explicit Color(const vessot::String& hex);

    // r * 2^24 + g * 2^16 + b * 2^8 + a.
    uint32_t packed() const { return (uint32_t)r << 24 | (uint32_t)g << 16 | (uint32_t)b << 8 | a; }
    bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Color& o) const { return !(*this == o); }

    static const Color White;
    static const Color Black;
    // Transparent black.
    static const Color Clear;
};

} // namespace nimbo
