#include "nimboui/Texture.h"

#include "nimbo/Image.h"
#include "nimbo/Nimbo.h"
#include "nimboui/Exception.h"
#include "nimboui/Internal.h"
#include "nimboui/nimboui.h"
#include "vessot/File.h"

namespace nimboui {

Texture::Texture(const String& filename, bool onDemand)
    : name(filename), filename(filename), fromFile(true), onDemand(onDemand) {
    internal::registerTexture(this);
}

Texture::Texture(const String& filename, nimbo::Texture* renderTexture)
    : name(filename), filename(filename), renderTexture(renderTexture), fromFile(false), onDemand(false) {
    internal::registerTexture(this);
}

Texture::~Texture() {
    internal::unregisterTexture(this);
    delete renderTexture;
}

void Texture::load() {
    if (renderTexture) {
        renderTexture->load();
        return;
    }
    if (!fromFile) {
        return;
    }
    if (!nimbo::rendersys) {
        throw _GenericException("Texture '" + filename + "' can't load without a render system");
    }
    // A missing file of an on-demand texture only logs (the render system does) and shows nothing.
    if (!onDemand && !vessot::Resource::exists(filename, true)) {
        throw vessot::_file_not_found(filename);
    }
    renderTexture = nimbo::rendersys->createTextureFromResource(filename, nimbo::Texture::TYPE_MANAGED, true);
}

void Texture::unload() {
    if (renderTexture) {
        renderTexture->unload();
    }
}

bool Texture::isLoaded() const {
    return renderTexture && renderTexture->isLoaded();
}

void Texture::use() {
    if (!isLoaded() && (renderTexture || nimbo::rendersys)) {
        load();
    }
    idleTime = 0.0f;
}

int Texture::getWidth() const {
    int width = 0;
    int height = 0;
    if (renderTexture) {
        return renderTexture->getWidth();
    }
    nimbo::Image::readSize(filename, width, height);
    return width;
}

int Texture::getHeight() const {
    int width = 0;
    int height = 0;
    if (renderTexture) {
        return renderTexture->getHeight();
    }
    nimbo::Image::readSize(filename, width, height);
    return height;
}

void Texture::update(float dt) {
    idleTime += dt;
    if (onDemand && idleTime > getTextureIdleUnloadTime() && isLoaded()) {
        unload();
    }
}

} // namespace nimboui
