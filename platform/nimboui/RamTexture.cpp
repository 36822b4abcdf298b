#include "nimboui/RamTexture.h"

#include "nimbo/Image.h"

#include <algorithm>
#include <cmath>

namespace nimboui {

RamTexture::RamTexture(const String& name, const String& filename) : name(name), filename(filename) {}

RamTexture::~RamTexture() = default;

void RamTexture::load() {
    if (!pixels) {
        pixels = std::make_unique<nimbo::Image>(nimbo::Image::load(filename));
    }
}

void RamTexture::unload() {
    pixels.reset();
}

int RamTexture::getWidth() {
    load();
    return pixels->getWidth();
}

int RamTexture::getHeight() {
    load();
    return pixels->getHeight();
}

nimbo::Color RamTexture::getPixel(int x, int y) {
    load();
    if (pixels->isEmpty()) {
        return nimbo::Color::Clear;
    }
    return pixels->getPixel(std::clamp(x, 0, pixels->getWidth() - 1), std::clamp(y, 0, pixels->getHeight() - 1));
}

nimbo::Color RamTexture::getInterpolatedPixel(float x, float y) {
    // Clamped first, so that any float (infinite or not a number too) samples the picture.
    load();
    x = x > 0.0f ? std::min(x, (float)std::max(pixels->getWidth() - 1, 0)) : 0.0f;
    y = y > 0.0f ? std::min(y, (float)std::max(pixels->getHeight() - 1, 0)) : 0.0f;
    const float x0 = std::floor(x);
    const float y0 = std::floor(y);
    const float fx = x - x0;
    const float fy = y - y0;
    const int ix = (int)x0;
    const int iy = (int)y0;
    const nimbo::Color c00 = getPixel(ix, iy);
    const nimbo::Color c10 = getPixel(ix + 1, iy);
    const nimbo::Color c01 = getPixel(ix, iy + 1);
    const nimbo::Color c11 = getPixel(ix + 1, iy + 1);
    auto mix = [&](uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
        float top = a + (b - a) * fx;
        float bottom = c + (d - c) * fx;
        return (int)std::lround(top + (bottom - top) * fy);
    };
    return nimbo::Color(mix(c00.r, c10.r, c01.r, c11.r), mix(c00.g, c10.g, c01.g, c11.g),
                        mix(c00.b, c10.b, c01.b, c11.b), mix(c00.a, c10.a, c01.a, c11.a));
}

} // namespace nimboui
