#include "drawing/glyph_table.h"

#include <algorithm>
#include <limits>

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

int NarrowestUnits(const FaceGlyphs& face) {
    if (face.module > 0)
        return face.module;
    std::int32_t narrowest = std::numeric_limits<std::int32_t>::max();
    for (std::size_t g = 0; g < face.glyphCount; ++g) {
        const GlyphEntry& glyph = face.glyphs[g];
        for (std::uint32_t b = 0; b < glyph.barCount; ++b)
            narrowest = std::min(narrowest, face.bars[glyph.firstBar + b].width);
    }
    return narrowest == std::numeric_limits<std::int32_t>::max() ? face.unitsPerEm : narrowest;
}

}  // namespace sw::drawing
