#include "drawing/glyph_table.h"

#include <algorithm>

namespace sw::drawing {

const FaceGlyphs* FindFaceGlyphs(std::string_view face) {
    const FaceGlyphs* end = kFaceGlyphs + kFaceGlyphsCount;
    const FaceGlyphs* it =
        std::find_if(kFaceGlyphs, end, [&](const FaceGlyphs& f) { return f.face == face; });
    return it == end ? nullptr : it;
}

const OutlineFace* FindOutlineFace(const FaceGlyphs& face) {
    const OutlineFace* end = kOutlineFaces + kOutlineFacesCount;
    const OutlineFace* it = std::find_if(
        kOutlineFaces, end, [&](const OutlineFace& f) { return f.family == face.family; });
    return it == end ? nullptr : it;
}

const GlyphEntry* FindGlyph(const FaceGlyphs& face, char32_t code) {
    const GlyphEntry* end = face.glyphs + face.glyphCount;
    const GlyphEntry* it = std::lower_bound(
        face.glyphs, end, code, [](const GlyphEntry& g, char32_t c) { return g.code < c; });
    return it != end && it->code == code ? it : nullptr;
}

}  // namespace sw::drawing
