// Drawing a bar code symbol from its font string, from the glyph table rather than through text
// layout: either exactly (vectors at the physical size) or on a grid of whole pixels.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRawFont>
#include <QRectF>
#include <QSizeF>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/glyph_table.h"

class QPainter;

namespace sw::drawing {

// A symbol ready to draw, margins included: the origin at the top-left corner, y downwards.
// Lengths are font units in an exact layout and pixels in a grid layout.
struct SymbolLayout {
    struct PlacedGlyph {
        quint32 index;   // in the outline font
        QPointF origin;  // on the baseline
        double scale;    // of the glyph, 1 at the outline font's own size
    };
    QSizeF size;
    std::vector<QRectF> bars;
    QPainterPath outlines;  // filled with nonzero winding
    // Outlines drawn as text instead: glyphs of the face's outline font, at the layout's scale.
    std::vector<PlacedGlyph> glyphs;
    QRawFont outlineFont;
    // The horizontal extent of the ink, bars and outlines (their points, on the curve or not),
    // however the outlines are drawn; empty (left above right) for a symbol without ink.
    double inkLeft = 0;
    double inkRight = -1;
};

// The white margin around the glyphs, in fractions of the em: left and right (at least; whole
// modules in faces built on a module), which is the quiet zone of faces whose glyphs carry
// none, and above and below.
inline constexpr int kSideMarginFifths = 2;
inline constexpr int kTopMarginTenths = 1;

// The outline face of `face`'s family, added to the application's fonts on first use, at one
// pixel per font unit; invalid when the face draws no outlines or the font cannot be loaded.
// Needs a QGuiApplication.
QRawFont OutlineFont(const FaceGlyphs& face);

// The symbol of `text` at its exact size, in font units of `face`. With a valid `outlineFont`
// (OutlineFont of the face), the outlines become glyphs of that font: a PDF embeds the font once
// for all its symbols rather than writing every curve of every symbol.
SymbolLayout ExactLayout(const FaceGlyphs& face, std::u32string_view text,
                         const QRawFont& outlineFont = QRawFont());

// The symbol on a grid of whole pixels, the face `points` big at `dpi`: every bar and space
// of one width class is the same whole number of pixels, the wide:narrow ratio stays within
// 2.2 to 3.0 and the margins are whole modules. When the narrowest element would be under a
// pixel, returns nothing and says in `error` which size works.
std::optional<SymbolLayout> GridLayout(const FaceGlyphs& face, std::u32string_view text,
                                       double points, int dpi, std::string* error);

// The smallest point size, in tenths, at which the face's narrowest element is a whole pixel at
// `dpi`: the smallest a grid layout can be.
double SmallestGridPoints(const FaceGlyphs& face, int dpi);

// The size in points of an exact layout of `face` drawn `points` big.
QSizeF SizeInPoints(const FaceGlyphs& face, const SymbolLayout& exact, double points);

// Fills the symbol's bars and outlines (or outline glyphs) in `colour`, scaled so that the layout
// covers `target`. A grid layout painted at its own size on an image stays on the pixel grid.
void PaintSymbol(QPainter& painter, const SymbolLayout& layout, const QRectF& target,
                 const QColor& colour = Qt::black);

// A grid layout as a 1-bit picture, black on white, carrying `dpi`; a null image when the
// memory for it cannot be had.
QImage RasterImage(const SymbolLayout& grid, int dpi);

// An exact layout of `face` drawn `points` big as an SVG document and as a one-page PDF, each
// at the symbol's physical size. The PDF's page is the symbol rounded up to whole points, the
// symbol in its middle.
QByteArray SvgDocument(const FaceGlyphs& face, const SymbolLayout& exact, double points);
QByteArray PdfDocument(const FaceGlyphs& face, const SymbolLayout& exact, double points);

}  // namespace sw::drawing
