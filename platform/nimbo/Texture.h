#pragma once
// A picture on the graphics side, made by the render system. A managed texture can be unloaded
// and loads itself again when it is drawn; a dynamic one is also written to (video frames,
// glyph pages). Deleting a texture is always safe, also after the render system has gone.

#include "nimbo/Color.h"
#include "nimbo/Image.h"
#include "vessot/String.h"

#include <memory>

namespace nimbo {

class Texture {
public:
    enum Type { TYPE_MANAGED = 2, TYPE_DYNAMIC = 3 };

    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // The file it was made from; a texture not made from a file has a unique made-up name.
    const vessot::String& getFilename() const;
    Type getType() const;
    ImageFormat getFormat() const;
    // The size in pixels; a texture from a file that is not loaded reads it from the file's header.
    int getWidth() const;
    int getHeight() const;

    bool isLoaded() const;
    // Loads the pixels (the file again, or the fill colour). A file that is missing or cannot be
    // decoded logs one error naming it and gives a transparent 1 x 1 picture. False only without a
    // window to load onto.
    bool load();
    void unload();
    // Copies the block (sx, sy, w, h) of buffer, an image of bw x bh pixels in format, to (x, y).
    // Parts outside either picture are cut off. Loads the texture first when needed.
    void write(int x, int y, int w, int h, int sx, int sy, const unsigned char* buffer, int bw, int bh,
               ImageFormat format);

private:
    friend struct RenderAccess;
    struct State;
    explicit Texture(std::unique_ptr<State> state);
    std::unique_ptr<State> state;
};

} // namespace nimbo
