#include "nimboui/ImageButton.h"

#include "nimboui/Image.h"

namespace nimboui {

ImageButton::ImageButton(const String& name, const morvec::Rectangle& rect) : ImageBox("ImageButton", name, rect) {}

bool ImageButton::setProperty(const String& property, const String& value) {
    if (property == "hover_image") {
        setHoverImageByName(value);
    } else if (property == "pushed_image") {
        setPushedImageByName(value);
    } else {
        return ImageBox::setProperty(property, value);
    }
    return true;
}

void ImageButton::setHoverImageByName(const String& imageName) {
    hoverImage = findImageByName(imageName);
}
void ImageButton::setPushedImageByName(const String& imageName) {
    pushedImage = findImageByName(imageName);
}

Image* ImageButton::getShownImage() const {
    if (isPressed() && pushedImage) {
        return pushedImage;
    }
    if (isHovered() && hoverImage) {
        return hoverImage;
    }
    return image;
}

void ImageButton::OnDraw(const morvec::Vector2& offset) {
    Image* shownImage = getShownImage();
    nimbo::Color shown = drawColor();
    if (shownImage && shown.a > 0) {
        shownImage->draw(rect.offset(offset), shown);
    }
}

} // namespace nimboui
