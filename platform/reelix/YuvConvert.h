#pragma once
// Our conversion of decoded Y'CbCr pictures (BT.601, studio range) to 4-byte pixels in memory order
// R, G, B, A: the layout of the window layer's texture formats RGBA and RGB-with-an-unused-byte.

#include <cstddef>
#include <cstdint>

namespace reelix {

struct YuvPlane {
    const uint8_t* data;
    int stride;
    int width;
    int height;
};

struct YuvPicture {
    YuvPlane planes[3]; // Y, Cb, Cr
    // Chroma subsampling as shifts: 4:2:0 is (1, 1), 4:2:2 (1, 0), 4:4:4 (0, 0).
    int chromaShiftX;
    int chromaShiftY;
};

// Fills width x height pixels (rows stride pixels apart) from the picture's top-left corner. With
// alphaOffset >= 0 the fourth byte is the luma alphaOffset pixels to the right (an alpha picture beside
// the colour picture); otherwise it is 255. The picture must cover width (+ alphaOffset) x height.
void convertPicture(const YuvPicture& picture, uint8_t* out, int width, int height, int stride, int alphaOffset);

} // namespace reelix
