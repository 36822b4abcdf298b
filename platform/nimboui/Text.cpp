#include "nimboui/Internal.h"
#include "runel/FontBitmap.h"
#include "runel/FontTtf.h"
#include "runel/Renderer.h"
#include "vessot/Log.h"

#include <memory>

namespace nimboui::internal {

namespace {

// Fonts belong to the text renderer once registered; without a running renderer none is made.
bool rendererRunning(const vessot::String& file) {
    if (runel::renderer->isActive()) {
        return true;
    }
    vessot::Log::write(CHANNEL, "the text renderer is not running; font " + file + " is not registered");
    return false;
}

} // namespace

void registerTrueTypeFont(const vessot::String& name, const vessot::String& file, float pixelSize, float scale) {
    if (rendererRunning(file) && !runel::renderer->hasFont(name)) {
        runel::renderer->registerFont(new runelttf::FontTtf(file, name, pixelSize, scale), true);
    }
}

void registerBitmapFont(const vessot::String& file) {
    if (!rendererRunning(file)) {
        return;
    }
    auto font = std::make_unique<runel::FontBitmap>(file);
    if (!runel::renderer->hasFont(font->getName())) {
        runel::renderer->registerFont(font.release(), true);
    }
}

float textHeight(const vessot::String& font, const vessot::String& text, float width) {
    return runel::renderer->getTextHeight(font, text, width);
}

void drawText(const morvec::Rectangle& rect, const vessot::String& font, const vessot::String& text, int align,
              int valign, const nimbo::Color& color, bool markup) {
    runel::renderer->drawText(rect, font, text, (runel::Alignment)align, (runel::VerticalAlignment)valign, color, {},
                              markup);
}

} // namespace nimboui::internal
