// The glyphs of every bar code face, generated at build time from the table the fonts are made
// from: drawing from here gives the same bars as the font, without going through text layout.
// All lengths are in font units; y grows upwards from the baseline.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sw::drawing {

struct GlyphBar {
    std::int32_t x;
    std::int32_t width;
    std::uint8_t kind;  // index into the face's bar extents
};

struct BarExtent {
    std::int32_t bottom;
    std::int32_t top;
};

// A point of a quadratic outline; between two off-curve points an on-curve point lies midway.
struct OutlinePoint {
    std::int32_t x;
    std::int32_t y;
    bool onCurve;
};

struct GlyphEntry {
    char32_t code;
    std::int32_t advance;
    std::uint32_t firstBar, barCount;          // in the face's bars, sorted by x
    std::uint32_t firstContour, contourCount;  // in the face's contour ends
    std::uint32_t firstPoint;                  // where the first contour starts
};

struct FaceGlyphs {
    std::string_view face;
    std::string_view family;
    int unitsPerEm;
    int module;    // the narrow element; 0 for faces that are not built on a module
    double ratio;  // wide to narrow; 0 for faces without wide elements
    int ascent;
    int descent;       // below the baseline, positive
    int blankAdvance;  // of a character that draws nothing
    const BarExtent* extents;
    std::size_t kindCount;
    const GlyphEntry* glyphs;  // sorted by code
    std::size_t glyphCount;
    const GlyphBar* bars;
    const OutlinePoint* points;
    const std::uint32_t* contourEnds;  // the index after each contour's last point
};

extern const FaceGlyphs kFaceGlyphs[];
extern const std::size_t kFaceGlyphsCount;

// How a glyph's outline is drawn from the outline face: its glyph `glyph`, scaled by `scale`
// about the origin and moved by (dx, dy) font units. Glyph 0: the glyph has no outline.
struct OutlinePlacement {
    std::uint32_t glyph;
    double scale;
    double dx;
    double dy;
};

// A TrueType face of a family's glyph outlines alone, without the bars: glyph n + 1 draws the
// outline of the family's n-th glyph (in the order of FaceGlyphs::glyphs). Each digit is drawn
// with the glyph of its own character ("0" to "9"), placed and scaled as `placements` (one for
// each of the family's glyphs, in the same order) say, so that a document that draws it gives
// the digit as its text.
struct OutlineFace {
    std::string_view family;
    std::string_view name;  // its family name
    const unsigned char* data;
    std::size_t size;
    const OutlinePlacement* placements;
};

extern const OutlineFace kOutlineFaces[];
extern const std::size_t kOutlineFacesCount;

// The outline face of the family of `face`, or null when its glyphs carry no outlines.
const OutlineFace* FindOutlineFace(const FaceGlyphs& face);

// The face of that name, or null.
const FaceGlyphs* FindFaceGlyphs(std::string_view face);

// The glyph of `code` in `face`, or null when the face draws nothing for it.
const GlyphEntry* FindGlyph(const FaceGlyphs& face, char32_t code);

// The narrowest element of the face in font units: its module, or its narrowest bar when it has
// none.
int NarrowestUnits(const FaceGlyphs& face);

}  // namespace sw::drawing
