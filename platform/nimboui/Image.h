#pragma once
// A rectangle of a texture, drawn into rectangles of the virtual screen.
//
// The source rectangle is in texture pixels; the image's size in units is that times its scale,
// which is the library's default scale when the image is made (setDefaultScale). A rotated image
// lies in its texture turned a quarter turn counter-clockwise: its source rectangle is the area
// in the texture, and it shows with width and height swapped. Drawing loads the texture when
// needed and resets its idle time.

#include "morvec/Rectangle.h"
#include "morvec/Vector.h"
#include "nimbo/Color.h"
#include "vessot/String.h"

namespace nimboui {

using vessot::String;

class Texture;

// How an image combines with what is under it.
enum BlendMode { BLEND_DEFAULT = 0, BLEND_ALPHA = 1, BLEND_ADD = 2, BLEND_SUBTRACT = 3, BLEND_OVERWRITE = 4 };

class Image {
public:
    // The texture is not owned (null draws nothing).
    Image(Texture* texture, const String& name, const morvec::Rectangle& source, bool rotated = false,
          bool invertX = false, bool invertY = false);
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    virtual ~Image();

    // Into dest with the colour (tint and alpha).
    virtual void draw(const morvec::Rectangle& dest, const nimbo::Color& color);
    // Turned by angle degrees (counter-clockwise on screen) about the centre of dest.
    virtual void draw(const morvec::Rectangle& dest, const nimbo::Color& color, float angle);
    // Turned about a centre point: centred.x and centred.y are the centre, w and h the size.
    void drawCentered(const morvec::Rectangle& centred, const nimbo::Color& color, float angle);

    const String& getName() const { return name; }
    Texture* getTexture() const { return texture; }
    const morvec::Rectangle& getSrcRect() const { return source; }
    void setSrcRect(const morvec::Rectangle& rect) { source = rect; }
    bool isRotated() const { return rotated; }
    bool isInvertedX() const { return invertX; }
    bool isInvertedY() const { return invertY; }
    // Units per source pixel.
    float getScale() const { return scale; }
    void setScale(float value) { scale = value; }
    // The size as shown, in units (width and height swapped for a rotated image).
    float getWidth() const;
    float getHeight() const;
    morvec::Vector2 getSize() const { return {getWidth(), getHeight()}; }
    int getBlendMode() const { return blendMode; }
    void setBlendMode(int mode) { blendMode = mode; }

protected:
    String name;
    Texture* texture;
    morvec::Rectangle source;
    bool rotated;
    bool invertX;
    bool invertY;
    float scale;
    int blendMode = BLEND_DEFAULT;
};

} // namespace nimboui
