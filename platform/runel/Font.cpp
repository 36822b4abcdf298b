#include "runel/Font.h"

namespace runel {

const Glyph* Font::getGlyph(uint32_t codePoint) {
    const Glyph* glyph = findGlyph(codePoint);
    return glyph ? glyph : findGlyph('?');
}

} // namespace runel
