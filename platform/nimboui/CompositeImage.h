#pragma once
// An image made of references to other images, each placed at a rectangle of the composite's
// own source area (width x height, in the same pixels as its parts). Character frames are
// composites of one part. The parts belong to their dataset, not to the composite.

#include "nimboui/Image.h"

#include <vector>

namespace nimboui {

struct ImageRef {
    Image* image;
    morvec::Rectangle rect;
};

class CompositeImage : public Image {
public:
    CompositeImage(const String& name, float width, float height);
    // A copy of source's size and references under a new name.
    CompositeImage(const CompositeImage& source, const String& name);

    void addImageRef(Image* image, const morvec::Rectangle& rect);
    std::vector<ImageRef>& getImageRefs() { return refs; }
    const std::vector<ImageRef>& getImageRefs() const { return refs; }

    // Draws every part into its place within dest, in the order added.
    void draw(const morvec::Rectangle& dest, const nimbo::Color& color) override;
    void draw(const morvec::Rectangle& dest, const nimbo::Color& color, float angle) override;

private:
    std::vector<ImageRef> refs;
};

} // namespace nimboui
