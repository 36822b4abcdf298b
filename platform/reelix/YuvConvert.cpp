#include "reelix/YuvConvert.h"

#include <cstddef>

namespace reelix {

namespace {

// BT.601 studio-range coefficients in 16.16 fixed point.
constexpr int LUMA = 76309;     // 1.164383 = 255 / 219
constexpr int CR_TO_R = 104597; // 1.596027
constexpr int CR_TO_G = 53279;  // 0.812968
constexpr int CB_TO_G = 25675;  // 0.391762
constexpr int CB_TO_B = 132201; // 2.017232

inline uint8_t clamp8(int v) {
    v >>= 16;
    return (uint8_t)(v < 0 ? 0 : (v > 255 ? 255 : v));
}

void convertRow(const uint8_t* y, const uint8_t* cb, const uint8_t* cr, const uint8_t* alpha, int shiftX, uint8_t* out,
                int width) {
    for (int x = 0; x < width; ++x, out += 4) {
        int c = (y[x] - 16) * LUMA + 32768;
        int u = cb[x >> shiftX] - 128;
        int v = cr[x >> shiftX] - 128;
        out[0] = clamp8(c + CR_TO_R * v);
        out[1] = clamp8(c - CR_TO_G * v - CB_TO_G * u);
        out[2] = clamp8(c + CB_TO_B * u);
        out[3] = alpha ? alpha[x] : 255;
    }
}

} // namespace

void convertPicture(const YuvPicture& picture, uint8_t* out, int width, int height, int stride, int alphaOffset) {
    const YuvPlane& luma = picture.planes[0];
    for (int row = 0; row < height; ++row) {
        const uint8_t* y = luma.data + (ptrdiff_t)row * luma.stride;
        int chromaRow = row >> picture.chromaShiftY;
        const uint8_t* cb = picture.planes[1].data + (ptrdiff_t)chromaRow * picture.planes[1].stride;
        const uint8_t* cr = picture.planes[2].data + (ptrdiff_t)chromaRow * picture.planes[2].stride;
        convertRow(y, cb, cr, alphaOffset >= 0 ? y + alphaOffset : nullptr, picture.chromaShiftX,
                   out + (ptrdiff_t)row * stride * 4, width);
    }
}

} // namespace reelix
