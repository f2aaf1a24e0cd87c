// The bundled fonts, read back through Qt: every face registers under its exact name, every
// character the encoders emit draws bars, every other character draws nothing, and the quiet
// zones sit in the start and stop glyphs.
#include <gtest/gtest.h>

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "../encode/bar_scan.h"
#include "barcode/make.h"
#include "barcode/text.h"
#include "fonts/barcode_fonts.h"

namespace sw {
namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

unsigned Code(char32_t c) {
    return static_cast<unsigned>(c);
}

// At 1000 pixels per em a font unit is a pixel.
constexpr double kEm = 1000;

QRawFont LoadFace(std::string_view face) {
    QFile file(QStringLiteral(":/stripewright/fonts/") + BarcodeFontFileName(face));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << face;
    return QRawFont(file.readAll(), kEm, QFont::PreferNoHinting);
}

quint32 GlyphOf(const QRawFont& font, char32_t code) {
    const char32_t text[] = {code, 0};
    const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(text, 1));
    return glyphs.size() == 1 ? glyphs.front() : 0;
}

QRectF Ink(const QRawFont& font, char32_t code) {
    return font.pathForGlyph(GlyphOf(font, code)).boundingRect();
}

// The ink above the baseline: the bars without the digits under them.
QRectF BarInk(const QRawFont& font, char32_t code) {
    QPainterPath above;
    above.addRect(-10 * kEm, -10 * kEm, 20 * kEm, 10 * kEm);
    return font.pathForGlyph(GlyphOf(font, code)).intersected(above).boundingRect();
}

double Advance(const QRawFont& font, char32_t code) {
    const QList<QPointF> a = font.advancesForGlyphIndexes(QList<quint32>{GlyphOf(font, code)},
                                                          QRawFont::UseDesignMetrics);
    return a.front().x();
}

// Every character the encoders put into a font string of the type, gathered by encoding
// inputs that between them use every symbol.
std::set<char32_t> EmittedCodes(BarCodeType type) {
    std::vector<std::pair<std::string, bool>> inputs;
    switch (type) {
        case BarCodeType::Type25:
            inputs = {{"0123456789", false}};
            break;
        case BarCodeType::Type25i: {
            std::string pairs;
            for (int v = 0; v < 100; ++v) pairs += std::to_string(v / 10) + std::to_string(v % 10);
            inputs = {{pairs, false}, {"7", true}};
            break;
        }
        case BarCodeType::Type39:
            inputs = {{"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%", true}};
            break;
        case BarCodeType::TypePost:
            inputs = {{"01234", false}, {"56789", false}};
            break;
        case BarCodeType::TypeUPC:
            for (char d = '0'; d <= '9'; ++d) {
                std::string digits(11, d);
                inputs.push_back({digits, false});
                digits.back() = '0';  // moves the check digit through all ten values
                inputs.push_back({digits, false});
            }
            break;
        case BarCodeType::TypeGS1_128:  // drawn with the Code 128 faces
            return EmittedCodes(BarCodeType::Type128);
        case BarCodeType::Type128: {
            // Every value, each start and the stop; the check characters come along.
            std::string all;
            for (int c = 0; c < 128; ++c) all += static_cast<char>(c);
            inputs = {{all, false}, {"00112233445566778899", false}, {"a\tb", false}};
            for (int v = 0; v < 100; ++v) {
                inputs.push_back({"1234" + std::to_string(v / 10) + std::to_string(v % 10), false});
            }
            break;
        }
        case BarCodeType::TypeEAN13:
            for (char d = '0'; d <= '9'; ++d) {
                std::string digits(12, d);
                inputs.push_back({digits, false});
                digits.back() = '0';
                inputs.push_back({digits, false});
                digits.front() = '1';  // even parity
                inputs.push_back({digits, false});
            }
            break;
        case BarCodeType::TypeIMb:
            inputs = {{"01234567094987654321", false}};
            break;
    }
    std::set<char32_t> codes;
    for (const auto& [data, checksum] : inputs) {
        const EncodeResult r = MakeFontString(type, DecodeUtf8(data), checksum);
        EXPECT_TRUE(r.ok()) << data;
        codes.insert(r.fontString().begin(), r.fontString().end());
    }
    return codes;
}

const BarHeight kHeights[] = {BarHeight::Short, BarHeight::Normal, BarHeight::Tall};

// The character whose symbol the space draws too, as in other fonts of the type (0: none).
char32_t SpaceTwin(BarCodeType type) {
    switch (type) {
        case BarCodeType::Type39:
            return U'~';
        case BarCodeType::Type128:
        case BarCodeType::TypeGS1_128:
            return U'\u00c2';  // value 0
        default:
            return 0;
    }
}

TEST(BarcodeFonts, RegisterEveryFaceUnderItsExactName) {
    ASSERT_TRUE(RegisterBarcodeFonts());
    const QStringList families = QFontDatabase::families();
    EXPECT_TRUE(RegisterBarcodeFonts());  // again: nothing more is added
    EXPECT_EQ(QFontDatabase::families(), families);
    for (std::string_view face : kFaceNames) {
        QFont font(Q(face));
        font.setStyleStrategy(QFont::NoFontMerging);
        EXPECT_EQ(QFontInfo(font).family(), Q(face));
        EXPECT_EQ(LoadFace(face).familyName(), Q(face));
    }
    EXPECT_EQ(BarcodeFontResources().size(), static_cast<qsizetype>(kFaceNames.size()));
    EXPECT_FALSE(RegisterBarcodeFace(QStringLiteral("Arial")));  // not one of ours
}

TEST(BarcodeFonts, EveryEmittedCodeDrawsBarsAndEveryOtherCodeNothing) {
    for (const BarCodeTypeInfo& info : kBarCodeTypes) {
        const std::set<char32_t> emitted = EmittedCodes(info.type);
        for (BarHeight height : kHeights) {
            const std::string_view face = FaceName(info.type, height);
            SCOPED_TRACE(std::string(face));
            const QRawFont font = LoadFace(face);
            ASSERT_TRUE(font.isValid());
            std::set<quint32> drawing;
            const char32_t twin = SpaceTwin(info.type);
            for (char32_t c = 32; c <= 255; ++c) {
                if (!IsFontChar(c))
                    continue;
                ASSERT_TRUE(font.supportsCharacter(c)) << Code(c);
                const quint32 glyph = GlyphOf(font, c);
                EXPECT_NE(glyph, 0u) << Code(c);
                if (c == U' ' && twin != 0) {
                    EXPECT_EQ(font.pathForGlyph(glyph), font.pathForGlyph(GlyphOf(font, twin)));
                    EXPECT_EQ(Advance(font, c), Advance(font, twin));
                    continue;
                }
                const bool ink = !font.pathForGlyph(glyph).isEmpty();
                const bool wanted = emitted.count(c) > 0 && c != U' ';
                EXPECT_EQ(ink, wanted) << "code " << Code(c);
                if (ink) {
                    EXPECT_TRUE(drawing.insert(glyph).second) << "shared glyph " << Code(c);
                }
            }
            // One character, one glyph: nothing may substitute or move glyphs.
            for (const char* table : {"GSUB", "GPOS", "kern", "morx"}) {
                EXPECT_TRUE(font.fontTable(table).isEmpty()) << table;
            }
        }
    }
}

TEST(BarcodeFonts, HeightsChangeOnlyTheBars) {
    for (const BarCodeTypeInfo& info : kBarCodeTypes) {
        const std::set<char32_t> emitted = EmittedCodes(info.type);
        const QRawFont shortFace = LoadFace(FaceName(info.type, BarHeight::Short));
        const QRawFont normalFace = LoadFace(FaceName(info.type, BarHeight::Normal));
        const QRawFont tallFace = LoadFace(FaceName(info.type, BarHeight::Tall));
        for (char32_t c : emitted) {
            SCOPED_TRACE(std::string(info.storedText) + " code " + std::to_string(c));
            EXPECT_EQ(Advance(shortFace, c), Advance(normalFace, c));
            EXPECT_EQ(Advance(tallFace, c), Advance(normalFace, c));
            if (c == U' ')
                continue;
            EXPECT_EQ(Ink(shortFace, c).left(), Ink(normalFace, c).left());
            EXPECT_EQ(Ink(shortFace, c).width(), Ink(normalFace, c).width());
            if (info.type == BarCodeType::Type25 || info.type == BarCodeType::Type25i ||
                info.type == BarCodeType::Type39) {
                EXPECT_LT(Ink(shortFace, c).height(), Ink(normalFace, c).height());
                EXPECT_LT(Ink(normalFace, c).height(), Ink(tallFace, c).height());
            }
        }
    }
    EXPECT_LT(Ink(LoadFace("Sample UPCA Short"), U'5').height(),
              Ink(LoadFace("Sample UPCA"), U'5').height());
}

TEST(BarcodeFonts, UpcDigitsHangBelowTheGuards) {
    for (std::string_view face : {"Sample UPCA Short", "Sample UPCA"}) {
        SCOPED_TRACE(std::string(face));
        const QRawFont font = LoadFace(face);
        // The guards reach 110 units below the baseline, the digits 205.
        EXPECT_EQ(Ink(font, U'|').bottom(), 110);
        // The first digit (0 with the left guard), a left and a right digit, the check digit.
        for (char32_t c : {U'P', U'0', U'@', U'`'}) {
            EXPECT_NEAR(Ink(font, c).bottom(), 205, 2) << Code(c);
        }
        EXPECT_LT(Ink(font, U'P').left(), 0);         // in the left quiet zone
        EXPECT_GT(Ink(font, U'`').right(), 10 * 22);  // right of the right guard
    }
}

// The narrowest bar of a glyph: one module.
double NarrowestBar(const QRawFont& font, char32_t code) {
    double narrowest = kEm;
    for (const QPolygonF& bar : font.pathForGlyph(GlyphOf(font, code)).toSubpathPolygons()) {
        narrowest = std::min(narrowest, bar.boundingRect().width());
    }
    return narrowest;
}

TEST(BarcodeFonts, QuietZonesInTheStartAndStopGlyphs) {
    struct Row {
        std::string_view face;
        char32_t start;  // 0: the left quiet zone is not a start glyph's
        char32_t stop;
        double modules;     // quiet zone on each side, in the face's module
        char32_t moduleOf;  // a glyph whose narrowest bar is one module
    };
    const Row rows[] = {
        {"Sample 25", U'(', U')', 10, U'('},
        {"Sample 25 Interleaved", U'{', U'}', 10, U'{'},
        {"Sample UPCA", 0, U'`', 9, U'|'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.face));
        const QRawFont font = LoadFace(row.face);
        const double module = NarrowestBar(font, row.moduleOf);
        if (row.start != 0) {
            EXPECT_GE(Ink(font, row.start).left(), row.modules * module);
        }
        EXPECT_GE(Advance(font, row.stop) - BarInk(font, row.stop).right(), row.modules * module);
    }
    // The UPC-A string starts with a space: the left quiet zone.
    const QRawFont upc = LoadFace("Sample UPCA");
    EXPECT_GE(Advance(upc, U' '), 9 * NarrowestBar(upc, U'|'));
    // PostNet: 0.125 in either side at 18 points, where the em is 0.25 in.
    const QRawFont post = LoadFace("Sample Postal");
    EXPECT_GE(Ink(post, U'(').left(), kEm / 2);
    EXPECT_GE(Advance(post, U')') - Ink(post, U')').right(), kEm / 2);
}

TEST(BarcodeFonts, BarsOnWholeFontUnits) {
    for (std::string_view face : kFaceNames) {
        QFile file(QStringLiteral(":/stripewright/fonts/") + BarcodeFontFileName(face));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        // Drawn at one pixel per font unit.
        const QRawFont probe(data, kEm, QFont::PreferNoHinting);
        const QRawFont font(data, probe.unitsPerEm(), QFont::PreferNoHinting);
        for (char32_t c = 33; c <= 255; ++c) {
            if (!IsFontChar(c))
                continue;
            const QPainterPath path = font.pathForGlyph(GlyphOf(font, c));
            // Each outline in turn; one with a curve is a digit's, whose points Qt places
            // between units when it turns quadratic curves into its own.
            for (int start = 0, end = 0; start < path.elementCount(); start = end) {
                bool curved = false;
                for (end = start + 1; end < path.elementCount() && !path.elementAt(end).isMoveTo();
                     ++end) {
                    curved = curved || path.elementAt(end).isCurveTo();
                }
                for (int i = start; i < end && !curved; ++i) {
                    const QPainterPath::Element e = path.elementAt(i);
                    EXPECT_EQ(e.x, std::round(e.x)) << face << " code " << Code(c);
                    EXPECT_EQ(e.y, std::round(e.y)) << face << " code " << Code(c);
                }
            }
        }
    }
}

// Strings as documents and mail merges made for other Code 128 and Code 39 fonts hold them,
// written by hand in the character map those fonts share, drawn in our faces through Qt's text
// layout and read back.
TEST(BarcodeFonts, StringsOfTheCommonMapScan) {
    ASSERT_TRUE(RegisterBarcodeFonts());
    struct Row {
        const char* face;
        const char32_t* text;
        ZXing::BarcodeFormat format;
        std::string read;
    };
    const Row rows[] = {
        {"Sample 128", U"\u00ccCode\u00c2128`\u00ce", ZXing::BarcodeFormat::Code128, "Code 128"},
        {"Sample 128", U"\u00ccCode 128`\u00ce", ZXing::BarcodeFormat::Code128, "Code 128"},
        {"Sample 128 Short", U"\u00cd,BXnzu\u00ce", ZXing::BarcodeFormat::Code128, "1234567890"},
        {"Sample 128 Tall", U"\u00ccab\u00c6icdu\u00ce", ZXing::BarcodeFormat::Code128, "ab\tcd"},
        {"Sample 128", U"\u00ccAB\u00c7,BX\u00c8cd4\u00ce", ZXing::BarcodeFormat::Code128,
         "AB123456cd"},
        {"Sample 128", U"\u00cd\u00ca!)R+!U\u00c2#g\u00ce", ZXing::BarcodeFormat::Code128,
         "0109501101530003"},
        {"Sample 39", U"*A B*", ZXing::BarcodeFormat::Code39, "A B"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.face);
        // 100 pixels to the em: the narrowest bar is 4 pixels wide.
        QFont font(QString::fromLatin1(row.face));
        font.setPixelSize(100);
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setStyleStrategy(QFont::NoFontMerging);
        const QString text = QString::fromUcs4(row.text);
        QImage picture(900, 300, QImage::Format_Grayscale8);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(80, 260), text);
        painter.end();
        EXPECT_EQ(test::Read(picture, row.format), row.read) << QString(text).toStdString();
    }
}

}  // namespace
}  // namespace sw
