#include "nimboui/Image.h"

#include "nimbo/Nimbo.h"
#include "nimboui/Texture.h"
#include "nimboui/nimboui.h"

namespace nimboui {

namespace {

// Sets a blend mode for one draw and puts the previous one back.
class BlendScope {
public:
    BlendScope(nimbo::RenderSystem* renderer, int mode) : renderer(renderer), previous(renderer->getBlendMode()) {
        if (mode != BLEND_DEFAULT) {
            renderer->setBlendMode((nimbo::BlendMode)mode);
        }
    }
    ~BlendScope() { renderer->setBlendMode(previous); }
    BlendScope(const BlendScope&) = delete;
    BlendScope& operator=(const BlendScope&) = delete;

private:
    nimbo::RenderSystem* renderer;
    nimbo::BlendMode previous;
};

} // namespace

Image::Image(Texture* texture, const String& name, const morvec::Rectangle& source, bool rotated, bool invertX,
             bool invertY)
    : name(name), texture(texture), source(source), rotated(rotated), invertX(invertX), invertY(invertY),
      scale(getDefaultScale()) {}

Image::~Image() = default;

float Image::getWidth() const {
    return (rotated ? source.h : source.w) * scale;
}
float Image::getHeight() const {
    return (rotated ? source.w : source.h) * scale;
}

void Image::draw(const morvec::Rectangle& dest, const nimbo::Color& color) {
    draw(dest, color, 0.0f);
}

void Image::draw(const morvec::Rectangle& dest, const nimbo::Color& color, float angle) {
    nimbo::RenderSystem* renderer = nimbo::rendersys;
    if (!texture || !renderer || color.a == 0) {
        return;
    }
    texture->use();
    nimbo::Texture* target = texture->getRenderTexture();
    if (!target) {
        return;
    }
    BlendScope blend(renderer, blendMode);
    if (!rotated) {
        int flip = (invertX ? nimbo::FLIP_HORIZONTAL : 0) | (invertY ? nimbo::FLIP_VERTICAL : 0);
        renderer->drawTexture(target, source, dest, color, angle, flip);
        return;
    }
    // The part lies turned a quarter counter-clockwise in the texture: draw it into the box of
    // swapped size about the same centre, turned back clockwise. Mirroring the upright picture
    // sideways mirrors the stored part top to bottom.
    morvec::Vector2 centre = dest.getCenter();
    morvec::Rectangle box(centre.x - dest.h / 2, centre.y - dest.w / 2, dest.h, dest.w);
    int flip = (invertX ? nimbo::FLIP_VERTICAL : 0) | (invertY ? nimbo::FLIP_HORIZONTAL : 0);
    renderer->drawTexture(target, source, box, color, angle - 90.0f, flip);
}

void Image::drawCentered(const morvec::Rectangle& centred, const nimbo::Color& color, float angle) {
    draw(morvec::Rectangle(centred.x - centred.w / 2, centred.y - centred.h / 2, centred.w, centred.h), color, angle);
}

} // namespace nimboui
