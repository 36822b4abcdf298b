#include "nimbo/Image.h"

#include "vessot/Exception.h"
#include "vessot/File.h"

#include <cstring>
#include <stb_image.h>
#include <stb_image_write.h>

namespace nimbo {

Image::Image(int w, int h, const Color& fill) : width(w), height(h), pixels((size_t)w * h * 4) {
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = fill.r;
        pixels[i + 1] = fill.g;
        pixels[i + 2] = fill.b;
        pixels[i + 3] = fill.a;
    }
}

Image Image::load(const vessot::String& path) {
    vessot::String bytes = vessot::Resource::hread(path);
    int w = 0;
    int h = 0;
    int channels = 0;
    stbi_uc* decoded =
        stbi_load_from_memory((const stbi_uc*)bytes.data(), (int)bytes.size(), &w, &h, &channels, STBI_rgb_alpha);
    if (!decoded) {
        VESSOT_THROW("Unable to decode image '" + path + "': " + stbi_failure_reason());
    }
    Image image;
    image.width = w;
    image.height = h;
    image.pixels.assign(decoded, decoded + (size_t)w * h * 4);
    stbi_image_free(decoded);
    return image;
}

bool Image::readSize(const vessot::String& path, int& w, int& h) {
    if (!vessot::Resource::exists(path, true)) {
        return false;
    }
    vessot::Resource file(path);
    stbi_io_callbacks io;
    io.read = [](void* user, char* data, int size) { return ((vessot::Resource*)user)->read_raw(data, size); };
    io.skip = [](void* user, int n) { ((vessot::Resource*)user)->seek(n, vessot::StreamBase::SeekOrigin::Current); };
    io.eof = [](void* user) { return ((vessot::Resource*)user)->eof() ? 1 : 0; };
    int channels = 0;
    bool ok = stbi_info_from_callbacks(&io, &file, &w, &h, &channels) != 0;
    file.close();
    return ok;
}

void Image::savePng(const vessot::String& path) const {
    if (isEmpty() || !stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4)) {
        VESSOT_THROW("Unable to write PNG file '" + path + "'");
    }
}

Color Image::getPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return Color::Clear;
    }
    const uint8_t* p = &pixels[((size_t)y * width + x) * 4];
    return Color(p[0], p[1], p[2], p[3]);
}

void Image::setPixel(int x, int y, const Color& color) {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return;
    }
    uint8_t* p = &pixels[((size_t)y * width + x) * 4];
    p[0] = color.r;
    p[1] = color.g;
    p[2] = color.b;
    p[3] = color.a;
}

} // namespace nimbo
