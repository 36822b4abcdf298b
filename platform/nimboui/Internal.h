#pragma once
// What the library's own sources share; not part of its interface.

#include "morvec/Rectangle.h"
#include "nimbo/Color.h"
#include "vessot/String.h"

namespace nimboui {

class Dataset;
class Image;
class Texture;

namespace internal {

// The log channel of the library.
inline const char* const CHANNEL = "nimboui";

void registerDataset(Dataset* dataset);
void unregisterDataset(Dataset* dataset);
void registerTexture(Texture* texture);
void unregisterTexture(Texture* texture);
// The image that draws nothing, for objects without a dataset.
Image* nullImage();

// The text renderer, as the library uses it (Text.cpp). Fonts go to the text renderer for good;
// a name it already holds is not registered again.
void registerTrueTypeFont(const vessot::String& name, const vessot::String& file, float pixelSize, float scale);
void registerBitmapFont(const vessot::String& file);
float textHeight(const vessot::String& font, const vessot::String& text, float width);
// Without markup the text's tags are drawn as the characters they are.
void drawText(const morvec::Rectangle& rect, const vessot::String& font, const vessot::String& text, int align,
              int valign, const nimbo::Color& color, bool markup = true);

} // namespace internal
} // namespace nimboui
