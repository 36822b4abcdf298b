#pragma once
// An image box that shows its hover image while the pointer rests on it and its pushed image
// while a press that began on it is held. A state image that is not set falls back to the
// normal image.

#include "nimboui/ImageBox.h"

namespace nimboui {

class ImageButton : public ImageBox {
public:
    ImageButton(const String& name, const morvec::Rectangle& rect);

    // "hover_image", "pushed_image", then ImageBox's.
    bool setProperty(const String& name, const String& value) override;
    void OnDraw(const morvec::Vector2& offset) override;
    bool isInteractive() const override { return true; }

    void setHoverImageByName(const String& imageName);
    void setPushedImageByName(const String& imageName);
    void setHoverImage(Image* value) { hoverImage = value; }
    void setPushedImage(Image* value) { pushedImage = value; }
    Image* getHoverImage() const { return hoverImage; }
    Image* getPushedImage() const { return pushedImage; }
    // The image drawn now, by the hover and press state.
    Image* getShownImage() const;

private:
    Image* hoverImage = nullptr;
    Image* pushedImage = nullptr;
};

} // namespace nimboui
