#pragma once
// Pixels in memory, four bytes each (red, green, blue, alpha), rows from the top. Decodes PNG,
// JPEG, TGA and BMP files and writes PNG.

#include "nimbo/Color.h"
#include "vessot/String.h"

#include <cstdint>
#include <vector>

namespace nimbo {

// Pixel layouts of texture data. Both use four bytes a pixel; RGBX leaves the fourth unused.
enum ImageFormat { FORMAT_RGBA = 1, FORMAT_RGBX = 9 };

class Image {
public:
    Image() = default;
    Image(int width, int height, const Color& fill = Color::Clear);

    // Decodes a resource (a path under the resource root, or an absolute one). A missing or
    // undecodable file throws vessot::exception naming it.
    static Image load(const vessot::String& path);
    // Reads only the size from a resource's header; false when it is missing or not an image.
    static bool readSize(const vessot::String& path, int& width, int& height);
    // Writes the image as PNG to a file path as given; a failure throws vessot::exception naming it.
    void savePng(const vessot::String& path) const;

    int getWidth() const { return width; }
    int getHeight() const { return height; }
    bool isEmpty() const { return width == 0 || height == 0; }
    uint8_t* data() { return pixels.data(); }
    const uint8_t* data() const { return pixels.data(); }
    // Points outside the image read as Color::Clear and are not written.
    Color getPixel(int x, int y) const;
    void setPixel(int x, int y, const Color& color);

private:
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

} // namespace nimbo
