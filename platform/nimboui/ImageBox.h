#pragma once
// An object that shows an image in its rectangle, tinted and faded by its alpha.

#include "nimbo/Color.h"
#include "nimboui/Object.h"

namespace nimboui {

class ImageBox : public Object {
public:
    ImageBox(const String& name, const morvec::Rectangle& rect);

    // "image" (by name), "color" ("RRGGBB" or "AARRGGBB"), then Object's.
    bool setProperty(const String& name, const String& value) override;
    void OnDraw(const morvec::Vector2& offset) override;
    Image* getImage() override { return image; }
    // Shows the image (null shows nothing); its name becomes the image name. A width or height
    // of -1 takes the image's size; otherwise the rectangle stays.
    void setImage(Image* newImage) override;

    // Looks the name up through the dataset's getImage, so "$variable" names work. A name that
    // finds no image is logged and shows the dataset's "null" image; the name is kept as given.
    void setImageByName(const String& imageName);
    // The name as given to setImageByName ("$variable" kept), or the name of the image set.
    const String& getImageName() const { return imageName; }

    const nimbo::Color& getColor() const { return color; }
    void setColor(const nimbo::Color& value) { color = value; }

protected:
    ImageBox(const String& typeName, const String& name, const morvec::Rectangle& rect);
    // Finds an image by name the way setImageByName does; the "null" image for a miss.
    Image* findImageByName(const String& imageName);
    // The colour with the derived alpha applied.
    nimbo::Color drawColor() const;

    Image* image = nullptr;
    String imageName;
    nimbo::Color color;
};

} // namespace nimboui
