// The drawing's glyph table against the fonts built from the same source, and the filling of
// glyph outlines.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <string>
#include <vector>

#include "drawing/symbol_drawing.h"
#include "fonts/barcode_fonts.h"

namespace sw::drawing {
namespace {

// At 1000 pixels per em a font unit is a pixel.
QRawFont LoadFont(std::string_view face) {
    QFile file(QStringLiteral(":/stripewright/fonts/") + BarcodeFontFileName(face));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << face;
    return QRawFont(file.readAll(), 1000, QFont::PreferNoHinting);
}

// Every code of every face: the same advance, and the table's bars (and outlines) are where the
// font draws ink, with nothing between them.
TEST(GlyphTable, DrawsWhatTheFontDraws) {
    std::vector<char32_t> codes;
    for (char32_t c = 32; c < 127; ++c) codes.push_back(c);
    for (char32_t c = 161; c < 171; ++c) codes.push_back(c);
    for (std::size_t f = 0; f < kFaceGlyphsCount; ++f) {
        const FaceGlyphs& face = kFaceGlyphs[f];
        SCOPED_TRACE(std::string(face.face));
        const QRawFont font = LoadFont(face.face);
        ASSERT_TRUE(font.isValid());
        EXPECT_EQ(font.ascent(), face.ascent);
        EXPECT_EQ(font.descent(), face.descent);
        for (const char32_t code : codes) {
            SCOPED_TRACE(static_cast<unsigned>(code));
            const QList<quint32> glyph = font.glyphIndexesForString(QString::fromUcs4(&code, 1));
            ASSERT_EQ(glyph.size(), 1);
            const double advance =
                font.advancesForGlyphIndexes(glyph, QRawFont::UseDesignMetrics).front().x();
            const QPainterPath ink = font.pathForGlyph(glyph.front());
            const GlyphEntry* entry = FindGlyph(face, code);
            EXPECT_EQ(advance, entry ? entry->advance : face.blankAdvance);

            // The symbol of the one character, moved back to the glyph's origin.
            const SymbolLayout layout = ExactLayout(face, std::u32string(1, code));
            const double side = (layout.size.width() - advance) / 2;
            const double top = (layout.size.height() - face.ascent - face.descent) / 2;
            const QPointF origin(side, top + face.ascent);
            QRectF drawn;
            if (!layout.outlines.isEmpty())
                drawn = layout.outlines.boundingRect().translated(-origin);
            for (const QRectF& bar : layout.bars) {
                const QRectF b = bar.translated(-origin);
                drawn = drawn.isNull() ? b : drawn.united(b);
                EXPECT_TRUE(ink.contains(b.center())) << b.x();
                EXPECT_FALSE(ink.contains(QPointF(b.left() - 0.5, b.center().y()))) << b.x();
                EXPECT_FALSE(ink.contains(QPointF(b.right() + 0.5, b.center().y()))) << b.x();
            }
            // Qt flattens the curves of the digit outlines, so their bounds may differ by a unit.
            const QRectF bounds = ink.boundingRect();
            const double slack = layout.outlines.isEmpty() ? 0.0 : 1.0;
            EXPECT_NEAR(drawn.left(), bounds.left(), slack);
            EXPECT_NEAR(drawn.top(), bounds.top(), slack);
            EXPECT_NEAR(drawn.right(), bounds.right(), slack);
            EXPECT_NEAR(drawn.bottom(), bounds.bottom(), slack);
        }
    }
}

// The digits of UPC-A drawn as glyphs of the outline font cover the same pixels as the table's
// outlines: the right glyph, at the right place and size, for each of the four kinds of digit.
TEST(SymbolDrawing, OutlineFontDrawsTheTableOutlines) {
    const FaceGlyphs* face = FindFaceGlyphs("Sample UPCA");
    ASSERT_NE(face, nullptr);
    const QRawFont font = OutlineFont(*face);
    ASSERT_TRUE(font.isValid());
    const std::u32string text = U" R91417|GGFCAf";
    SymbolLayout paths = ExactLayout(*face, text);
    SymbolLayout glyphs = ExactLayout(*face, text, font);
    EXPECT_EQ(glyphs.bars, paths.bars);
    EXPECT_TRUE(glyphs.outlines.isEmpty());
    EXPECT_EQ(glyphs.glyphs.size(), 12u);
    paths.bars.clear();
    glyphs.bars.clear();
    const auto draw = [&](const SymbolLayout& layout) {
        QImage image((layout.size * 0.25).toSize(), QImage::Format_Grayscale8);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintSymbol(painter, layout, QRectF(QPointF(0, 0), layout.size * 0.25));
        return image;
    };
    const QImage want = draw(paths);
    const QImage got = draw(glyphs);
    int ink = 0, differ = 0;
    for (int y = 0; y < want.height(); ++y) {
        for (int x = 0; x < want.width(); ++x) {
            const int a = qGray(want.pixel(x, y)), b = qGray(got.pixel(x, y));
            ink += a < 128;
            differ += std::abs(a - b) > 128;
        }
    }
    EXPECT_GT(ink, 2000);
    EXPECT_LT(differ, ink / 50) << ink;
}

// A face of two glyphs without bars: "o", a square with a square hole (its inner contour runs
// the other way), and "d", four off-curve points only, whose on-curve points are implied midway.
const OutlinePoint kPoints[] = {
    {0, 0, true},     {0, 600, true},   {600, 600, true},  {600, 0, true},
    {200, 200, true}, {400, 200, true}, {400, 400, true},  {200, 400, true},
    {0, 0, false},    {0, 600, false},  {600, 600, false}, {600, 0, false},
};
const std::uint32_t kContourEnds[] = {4, 8, 12};
const GlyphEntry kGlyphs[] = {{U'd', 600, 0, 0, 2, 1, 8}, {U'o', 600, 0, 0, 0, 2, 0}};
const BarExtent kExtents[] = {{0, 0}};
const GlyphBar kBars[] = {{0, 0, 0}};
const FaceGlyphs kOutlineFace{"Outlines", "Outlines", 1000,    0, 0,     700,     100,         600,
                              kExtents,   1,          kGlyphs, 2, kBars, kPoints, kContourEnds};

TEST(SymbolDrawing, FillsOutlinesWithNonzeroWinding) {
    // 0.1 pixel per font unit: margins of 40 pixels left and 10 above, the baseline at 80.
    std::string error;
    const auto grid = GridLayout(kOutlineFace, U"od", 72, 100, &error);
    ASSERT_TRUE(grid) << error;
    const QImage image = RasterImage(*grid, 100).convertToFormat(QImage::Format_Grayscale8);
    const auto dark = [&](int x, int y) { return image.pixelColor(x, y).value() < 128; };
    EXPECT_TRUE(dark(45, 25));    // "o": the ring
    EXPECT_FALSE(dark(70, 50));   // its hole
    EXPECT_TRUE(dark(130, 50));   // "d": the middle
    EXPECT_TRUE(dark(130, 77));   // near an implied on-curve point
    EXPECT_FALSE(dark(102, 22));  // outside the curve, near the corner of its control points

    const QByteArray svg = SvgDocument(kOutlineFace, ExactLayout(kOutlineFace, U"od"), 72);
    EXPECT_TRUE(svg.contains("<path fill-rule=\"nonzero\" d=\"M400 800")) << svg.toStdString();
}

}  // namespace
}  // namespace sw::drawing
