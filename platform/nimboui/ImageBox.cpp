#include "nimboui/ImageBox.h"

#include "nimboui/Dataset.h"
#include "nimboui/Exception.h"
#include "nimboui/Image.h"
#include "nimboui/Internal.h"
#include "nimboui/nimboui.h"
#include "vessot/Log.h"

#include <algorithm>

namespace nimboui {

ImageBox::ImageBox(const String& name, const morvec::Rectangle& rect) : ImageBox("ImageBox", name, rect) {}

ImageBox::ImageBox(const String& typeName, const String& name, const morvec::Rectangle& rect)
    : Object(typeName, name, rect) {}

bool ImageBox::setProperty(const String& property, const String& value) {
    if (property == "image") {
        setImageByName(value);
    } else if (property == "color") {
        color = nimbo::Color(value);
    } else {
        return Object::setProperty(property, value);
    }
    return true;
}

void ImageBox::OnDraw(const morvec::Vector2& offset) {
    nimbo::Color shown = drawColor();
    if (image && shown.a > 0) {
        image->draw(rect.offset(offset), shown);
    }
}

// Sizeless images (the built-in "null" and placeholder) leave a size to adopt as it is, so the
// next real image still sets it.
void ImageBox::setImage(Image* newImage) {
    image = newImage;
    imageName = newImage ? newImage->getName() : String();
    if (!newImage) {
        return;
    }
    if (rect.w == -1.0f && newImage->getWidth() > 0.0f) {
        rect.w = newImage->getWidth();
    }
    if (rect.h == -1.0f && newImage->getHeight() > 0.0f) {
        rect.h = newImage->getHeight();
    }
}

void ImageBox::setImageByName(const String& name) {
    setImage(findImageByName(name));
    imageName = name;
}

Image* ImageBox::findImageByName(const String& name) {
    Dataset* owner = getDataset();
    try {
        if (owner) {
            return owner->getImage(name);
        }
        String datasetName;
        String key;
        if (name.split(".", datasetName, key)) {
            if (Dataset* named = getDatasetByName(datasetName)) {
                return named->getImage(key);
            }
        }
        throw _ResourceNotExistsException(name, "Image", "(none)");
    } catch (const _ResourceNotExistsException& e) {
        vessot::Log::write(internal::CHANNEL, "image of '" + this->name + "': " + e.message());
        return owner ? owner->findImage("null") : internal::nullImage();
    }
}

nimbo::Color ImageBox::drawColor() const {
    nimbo::Color shown = color;
    shown.a = (uint8_t)std::clamp((int)(color.a * getDerivedAlpha()), 0, 255);
    return shown;
}

} // namespace nimboui
