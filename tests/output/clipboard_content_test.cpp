#include "output/clipboard_content.h"

#include <gtest/gtest.h>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>

#include "barcode/make.h"
#include "barcode/text.h"
#include "output/rtf_reader.h"

namespace sw {
namespace {

// A character with the face and size a reader found on it.
struct Styled {
    char32_t c;
    QString face;
    double points;
    bool operator==(const Styled&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Styled& s) {
    return os << "U+" << std::hex << static_cast<uint32_t>(s.c) << std::dec << " '"
              << s.face.toStdString() << "' " << s.points << "pt";
}

// Paragraph breaks come back as '\n' with no style of their own.
std::vector<Styled> StyledFromDocument(const QTextDocument& document) {
    std::vector<Styled> out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            out.push_back({U'\n', QString(), 0});
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const QStringList families = format.fontFamilies().toStringList();
            const QString face = families.isEmpty() ? QString() : families.first();
            for (char32_t c : it.fragment().text().toUcs4()) {
                if (c == QChar::LineSeparator) {
                    out.push_back({U'\n', QString(), 0});
                } else {
                    out.push_back({c, face, format.fontPointSize()});
                }
            }
        }
    }
    return out;
}

std::vector<Styled> StyledFromRtf(const QByteArray& rtf) {
    const testing::RtfText read = testing::ReadRtf(rtf);
    EXPECT_EQ(read.error, QString());
    EXPECT_EQ(read.codePage, 1252);
    std::vector<Styled> out;
    for (const testing::RtfChar& ch : read.chars) {
        if (ch.c == U'\n') {
            out.push_back({U'\n', QString(), 0});
        } else {
            out.push_back({ch.c, ch.face, ch.halfPoints / 2.0});
        }
    }
    return out;
}

std::vector<Styled> StyledFromHtml(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    return StyledFromDocument(document);
}

struct Span {
    QString text;
    QString face;
    double points;
};

// A preview as the window styles it: text put in, then face and size set on the characters.
void Fill(QTextEdit& preview, const std::vector<Span>& spans) {
    preview.clear();
    QTextCursor cursor(preview.document());
    for (const Span& span : spans) {
        QTextCharFormat format;
        format.setFontFamilies({span.face});
        format.setFontPointSize(span.points);
        cursor.insertText(span.text, format);
    }
}

std::vector<Styled> Expected(const std::vector<Span>& spans) {
    std::vector<Styled> out;
    for (const Span& span : spans) {
        for (char32_t c : span.text.toUcs4()) {
            if (c == U'\n') {
                out.push_back({U'\n', QString(), 0});
            } else {
                out.push_back({c, span.face, span.points});
            }
        }
    }
    return out;
}

QString FontString(BarCodeType type, const char32_t* data, bool checksum = false) {
    const EncodeResult result = MakeFontString(type, data, checksum);
    EXPECT_TRUE(result.ok()) << result.message();
    return QString::fromStdU32String(result.fontString());
}

QString AllHundredPairs() {
    std::u32string digits;
    for (int v = 0; v < 100; ++v) {
        digits += static_cast<char32_t>(U'0' + v / 10);
        digits += static_cast<char32_t>(U'0' + v % 10);
    }
    return FontString(BarCodeType::Type25i, digits.c_str());
}

QString EveryFontCharacter() {
    QString s;
    for (char32_t c = 32; c <= 170; ++c) {
        if (IsFontChar(c))
            s += QString::fromUcs4(&c, 1);
    }
    return s;
}

struct RoundTripCase {
    const char* name;
    std::vector<Span> spans;
};

std::vector<RoundTripCase> RoundTripCases() {
    const QString pairs = AllHundredPairs();
    return {
        {"InterleavedAllHundredPairs", {{pairs, "Sample 25 Interleaved", 24}}},
        {"EveryFontCharacter", {{EveryFontCharacter(), "Sample 39 Tall", 36}}},
        {"Code39WithSpacesKept", {{FontString(BarCodeType::Type39, U"A B  C"), "Sample 39", 24}}},
        {"UpcA", {{FontString(BarCodeType::TypeUPC, U"01234567890"), "Sample UPCA", 50}}},
        {"PostNet", {{FontString(BarCodeType::TypePost, U"12345"), "Sample Postal", 18}}},
        {"OutsideTheCodePage",
         {{QString::fromUtf8("\xd0\x96 \xe2\x82\xac \xf0\x9f\x98\x80 \xc4\x80"), "Sample 39", 24}}},
        {"RunsAndParagraphs",
         {{"a{b}", "Arial", 12},
          {"c\\d", "Sample 25", 30.5},
          {"\ne&f", "Sample 25", 30.5},
          {"<g>", "Arial", 12}}},
        {"FaceNamesNeedingEscapes",
         {{"x", "Bar;Code's \"Face\" {1}", 20}, {"y", "Back\\slash", 22}}},
    };
}

TEST(ClipboardContent, EveryFlavourRoundTripsCharactersFacesAndSizes) {
    QTextEdit preview;
    for (const RoundTripCase& c : RoundTripCases()) {
        SCOPED_TRACE(c.name);
        Fill(preview, c.spans);
        const std::vector<Styled> expected = Expected(c.spans);
        QString plain;
        for (const Styled& s : expected) plain += QString::fromUcs4(&s.c, 1);

        const std::unique_ptr<QMimeData> data = ClipboardContent(*preview.document());
        EXPECT_EQ(data->text(), plain);
        EXPECT_EQ(StyledFromHtml(data->html()), expected);
        for (const char* type : {"text/rtf", "text/richtext", "application/rtf"}) {
            SCOPED_TRACE(type);
            EXPECT_EQ(StyledFromRtf(data->data(QString::fromLatin1(type))), expected);
        }
    }
}

TEST(ClipboardContent, HundredPairsAreAllDistinctAndPresent) {
    // The round trip above proves nothing if the string does not hold all hundred pairs.
    const QString pairs = AllHundredPairs();
    ASSERT_EQ(pairs.size(), 102);
    EXPECT_EQ(pairs.front(), u'{');
    EXPECT_EQ(pairs.back(), u'}');
    EXPECT_EQ(QSet<QChar>(pairs.begin() + 1, pairs.end() - 1).size(), 100);
}

struct EscapeCase {
    char32_t character;
    const char* html;  // how the HTML flavour writes it
    const char* rtf;   // how the RTF flavour writes it
};

TEST(ClipboardContent, SpecialCharactersAreEscaped) {
    const EscapeCase cases[] = {
        {U'&', "&amp;", "&"},
        {U'<', "&lt;", "<"},
        {U'>', "&gt;", ">"},
        {U'"', "&quot;", "\""},
        {U'\'', "&#39;", "'"},
        {U'\\', "\\", "\\\\"},
        {U'{', "{", "\\{"},
        {U'}', "}", "\\}"},
        {161, "&#161;", "\\'a1"},
        {165, "&#165;", "\\'a5"},
        {170, "&#170;", "\\'aa"},
        {0x20AC, "&#8364;", "\\u8364\\'80"},
        {0x0416, "&#1046;", "\\u1046?"},
        {0x1F600, "&#128512;", "\\u-10179?\\u-8704?"},
    };
    QTextEdit preview;
    for (const EscapeCase& c : cases) {
        SCOPED_TRACE(static_cast<uint32_t>(c.character));
        const QString marked = QStringLiteral("[") + QString::fromUcs4(&c.character, 1) + "]";
        Fill(preview, {{marked, "Sample 25 Interleaved", 24}});
        const QString html = HtmlOf(*preview.document());
        const QByteArray rtf = RtfOf(*preview.document());
        EXPECT_TRUE(html.contains(QStringLiteral("[%1]").arg(QLatin1String(c.html))))
            << html.toStdString();
        EXPECT_TRUE(rtf.contains("[" + QByteArray(c.rtf) + "]")) << rtf.toStdString();
    }
}

TEST(ClipboardContent, RtfDeclaresCodePageFontTableAndSize) {
    QTextEdit preview;
    Fill(preview, {{"{-C}", "Sample 25 Interleaved", 24}});
    const QByteArray rtf = RtfOf(*preview.document());
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Sample 25 Interleaved;}}"));
    EXPECT_TRUE(rtf.contains("\\f0\\fs48 \\{-C\\}"));
    EXPECT_TRUE(rtf.endsWith("}"));
    // Only printable ASCII: the bytes mean the same to every reader.
    for (char byte : rtf) {
        EXPECT_TRUE((byte >= 32 && byte < 127) || byte == '\n') << int(byte);
    }
}

TEST(ClipboardContent, HtmlPutsFaceAndSizeOnTheCharactersOwnElement) {
    QTextEdit preview;
    Fill(preview, {{"*A*", "Sample 39", 24}});
    const QString html = HtmlOf(*preview.document());
    EXPECT_TRUE(html.contains(QStringLiteral(
        "<span style=\"font-family:'Sample 39'; font-size:24pt; white-space:pre\">*A*</span>")))
        << html.toStdString();
}

TEST(ClipboardContent, FaceSetOnTheWholeFieldIsCarriedToo) {
    // A field whose font was set as a whole (no per-character format) still copies its face.
    QTextEdit preview;
    preview.setFont(QFont(QStringLiteral("Sample Postal"), 18));
    preview.setPlainText(QStringLiteral("(12345)"));
    const std::vector<Styled> expected = Expected({{"(12345)", "Sample Postal", 18}});
    const std::unique_ptr<QMimeData> data = ClipboardContent(*preview.document());
    EXPECT_EQ(StyledFromRtf(data->data(QStringLiteral("text/rtf"))), expected);
    const QString html = data->html();
    EXPECT_TRUE(html.contains(QStringLiteral("font-family:'Sample Postal'; font-size:18pt")));
}

TEST(ClipboardContent, OffersPlainHtmlAndRtfFlavours) {
    QTextEdit preview;
    Fill(preview, {{"*A*", "Sample 39", 24}});
    const std::unique_ptr<QMimeData> data = ClipboardContent(*preview.document());
    for (const char* type :
         {"text/plain", "text/html", "text/rtf", "text/richtext", "application/rtf"}) {
        EXPECT_TRUE(data->hasFormat(QString::fromLatin1(type))) << type;
    }
    EXPECT_EQ(data->data(QStringLiteral("text/rtf")), data->data(QStringLiteral("text/richtext")));
    EXPECT_EQ(data->data(QStringLiteral("text/rtf")),
              data->data(QStringLiteral("application/rtf")));
}

TEST(ClipboardContent, EmptyPreviewGivesEmptyButWellFormedFlavours) {
    QTextEdit preview;
    const std::unique_ptr<QMimeData> data = ClipboardContent(*preview.document());
    EXPECT_EQ(data->text(), QString());
    EXPECT_TRUE(StyledFromHtml(data->html()).empty());
    EXPECT_TRUE(StyledFromRtf(data->data(QStringLiteral("text/rtf"))).empty());
}

}  // namespace
}  // namespace sw
