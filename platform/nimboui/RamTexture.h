#pragma once
// A picture kept in memory for sampling (light maps), never drawn.

#include "nimbo/Color.h"
#include "vessot/String.h"

#include <memory>

namespace nimbo {
class Image;
}

namespace nimboui {

using vessot::String;

class RamTexture {
public:
    // The file is read on load (a resource path).
    RamTexture(const String& name, const String& filename);
    RamTexture(const RamTexture&) = delete;
    RamTexture& operator=(const RamTexture&) = delete;
    ~RamTexture();

    const String& getName() const { return name; }
    const String& getFilename() const { return filename; }

    // A missing or undecodable file throws vessot::exception naming it.
    void load();
    void unload();
    bool isLoaded() const { return pixels != nullptr; }
    // Loads when needed.
    int getWidth();
    int getHeight();
    // The pixel at integer coordinates, clamped to the picture. Loads when needed.
    nimbo::Color getPixel(int x, int y);
    // Bilinear between the four pixels around (x, y), pixel i standing at coordinate i; points
    // beyond the edges take the edge pixels. Loads when needed.
    nimbo::Color getInterpolatedPixel(float x, float y);

private:
    String name;
    String filename;
    std::unique_ptr<nimbo::Image> pixels;
};

} // namespace nimboui
