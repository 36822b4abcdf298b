#include "nimbo/Texture.h"

#include "nimbo/Internals.h"
#include "vessot/Exception.h"
#include "vessot/Log.h"

#include <algorithm>
#include <vector>

namespace nimbo {

namespace {

Uint32 sdlPixelFormat(ImageFormat format) {
    // Byte order in memory: red, green, blue, then alpha or an unused byte.
    if (format == FORMAT_RGBX) {
        return SDL_BYTEORDER == SDL_BIG_ENDIAN ? SDL_PIXELFORMAT_RGBX8888 : SDL_PIXELFORMAT_XBGR8888;
    }
    return SDL_PIXELFORMAT_RGBA32;
}

// The pixels a texture loads: its file's, or its fill colour.
Image sourcePixels(const RenderAccess::TextureState& s) {
    if (!s.fromFile) {
        return Image(s.width, s.height, s.fill);
    }
    try {
        return Image::load(s.filename);
    } catch (const vessot::exception& e) {
        vessot::Log::errorf("nimbo", "Unable to load texture: %s", e.message());
        return Image(1, 1, Color::Clear);
    }
}

} // namespace

void Texture::State::readSize() {
    if (width >= 0) {
        return;
    }
    if (!Image::readSize(filename, width, height)) {
        width = 1;
        height = 1;
    }
}

Texture::Texture(std::unique_ptr<State> s) : state(std::move(s)) {}

Texture::~Texture() {
    unload();
    if (state->owner) {
        RenderAccess::RenderState& rs = RenderAccess::of(*state->owner);
        rs.textures.erase(this);
        if (rs.bound == this) {
            rs.bound = nullptr;
        }
    }
}

const vessot::String& Texture::getFilename() const {
    return state->filename;
}
Texture::Type Texture::getType() const {
    return state->type;
}
ImageFormat Texture::getFormat() const {
    return state->format;
}

int Texture::getWidth() const {
    state->readSize();
    return state->width;
}

int Texture::getHeight() const {
    state->readSize();
    return state->height;
}

bool Texture::isLoaded() const {
    return state->native != nullptr;
}

bool Texture::load() {
    if (state->native) {
        return true;
    }
    SDL_Renderer* renderer = state->owner ? RenderAccess::of(*state->owner).renderer : nullptr;
    if (!renderer) {
        return false;
    }
    Image pixels = sourcePixels(*state);
    state->width = pixels.getWidth();
    state->height = pixels.getHeight();
    int access = state->type == TYPE_DYNAMIC ? SDL_TEXTUREACCESS_STREAMING : SDL_TEXTUREACCESS_STATIC;
    SDL_Texture* native =
        SDL_CreateTexture(renderer, sdlPixelFormat(state->format), access, state->width, state->height);
    if (!native) {
        vessot::Log::errorf("nimbo", "Unable to create texture '%s' (%dx%d): %s", state->filename, state->width,
                            state->height, SDL_GetError());
        return false;
    }
    SDL_SetTextureScaleMode(native, SDL_ScaleModeLinear);
    SDL_UpdateTexture(native, nullptr, pixels.data(), state->width * 4);
    state->native = native;
    state->content = RenderAccess::of(*state->owner).newContent();
    return true;
}

void Texture::unload() {
    if (!state->native) {
        return;
    }
    if (state->owner) {
        RenderAccess::of(*state->owner).submitUsing(state->native);
    }
    SDL_DestroyTexture(state->native);
    state->native = nullptr;
}

void Texture::write(int x, int y, int w, int h, int sx, int sy, const unsigned char* buffer, int bw, int bh,
                    ImageFormat format) {
    if (state->type != TYPE_DYNAMIC) {
        vessot::Log::errorf("nimbo", "Texture '%s' is not dynamic; the write is ignored", state->filename);
        return;
    }
    if (!buffer || !load()) {
        return;
    }
    // Cut the block to both pictures; a negative start moves the other start along.
    int shiftX = std::max({0, -x, -sx});
    int shiftY = std::max({0, -y, -sy});
    x += shiftX, sx += shiftX, w -= shiftX;
    y += shiftY, sy += shiftY, h -= shiftY;
    w = std::min({w, state->width - x, bw - sx});
    h = std::min({h, state->height - y, bh - sy});
    if (w <= 0 || h <= 0) {
        return;
    }
    RenderAccess::RenderState& rs = RenderAccess::of(*state->owner);
    rs.submitUsing(state->native);
    state->content = rs.newContent();
    SDL_Rect rect{x, y, w, h};
    const unsigned char* first = buffer + ((size_t)sy * bw + sx) * 4;
    if (format == state->format || state->format == FORMAT_RGBX) {
        SDL_UpdateTexture(state->native, &rect, first, bw * 4);
        return;
    }
    // RGBX data into an RGBA texture: the unused byte becomes opaque alpha.
    std::vector<unsigned char> rows((size_t)w * h * 4);
    for (int row = 0; row < h; ++row) {
        const unsigned char* from = first + (size_t)row * bw * 4;
        unsigned char* to = &rows[(size_t)row * w * 4];
        for (int i = 0; i < w; ++i) {
            to[i * 4] = from[i * 4];
            to[i * 4 + 1] = from[i * 4 + 1];
            to[i * 4 + 2] = from[i * 4 + 2];
            to[i * 4 + 3] = 255;
        }
    }
    SDL_UpdateTexture(state->native, &rect, rows.data(), w * 4);
}

} // namespace nimbo
