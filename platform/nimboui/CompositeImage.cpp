#include "nimboui/CompositeImage.h"

#include <cmath>
#include <numbers>

namespace nimboui {

CompositeImage::CompositeImage(const String& name, float width, float height)
    : Image(nullptr, name, morvec::Rectangle(0, 0, width, height)) {}

CompositeImage::CompositeImage(const CompositeImage& other, const String& name)
    : Image(nullptr, name, other.source), refs(other.refs) {
    scale = other.scale;
    blendMode = other.blendMode;
}

void CompositeImage::addImageRef(Image* image, const morvec::Rectangle& rect) {
    refs.push_back({image, rect});
}

void CompositeImage::draw(const morvec::Rectangle& dest, const nimbo::Color& color) {
    draw(dest, color, 0.0f);
}

// Each part keeps its place relative to dest; turned, the parts' centres turn about dest's centre
// (counter-clockwise on screen for a positive angle, y growing downwards).
void CompositeImage::draw(const morvec::Rectangle& dest, const nimbo::Color& color, float angle) {
    if (source.w <= 0 || source.h <= 0) {
        return;
    }
    const float sx = dest.w / source.w;
    const float sy = dest.h / source.h;
    const morvec::Vector2 centre = dest.getCenter();
    const float radians = angle * std::numbers::pi_v<float> / 180.0f;
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    for (const ImageRef& ref : refs) {
        if (!ref.image) {
            continue;
        }
        morvec::Rectangle part(dest.x + ref.rect.x * sx, dest.y + ref.rect.y * sy, ref.rect.w * sx, ref.rect.h * sy);
        if (angle != 0.0f) {
            morvec::Vector2 d = part.getCenter() - centre;
            morvec::Vector2 turned(d.x * c + d.y * s, -d.x * s + d.y * c);
            part.x = centre.x + turned.x - part.w / 2;
            part.y = centre.y + turned.y - part.h / 2;
        }
        int saved = ref.image->getBlendMode();
        if (blendMode != BLEND_DEFAULT) {
            ref.image->setBlendMode(blendMode);
        }
        ref.image->draw(part, color, angle);
        ref.image->setBlendMode(saved);
    }
}

} // namespace nimboui
