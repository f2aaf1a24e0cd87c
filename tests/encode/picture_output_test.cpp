// Pictures on the pixel grid and as vectors, measured: each width class of bars and spaces is
// one whole number of pixels, margins are whole modules, vectors have the exact physical size.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <set>
#include <string>
#include <vector>

#include "bar_scan.h"
#include "barcode/make.h"
#include "barcode/text.h"
#include "encode/picture_output.h"
#include "encoder_run.h"

namespace sw {
namespace {

using test::BarRun;

std::u32string FontString(BarCodeType type, const char* data) {
    const EncodeResult r = MakeFontString(type, DecodeUtf8(data), false);
    EXPECT_TRUE(r.ok()) << data << ": " << r.message();
    return r.fontString();
}

struct Widths {
    int left = 0, right = 0;   // the margins
    std::set<int> bars, gaps;  // every width found inside
};

Widths Measure(const QImage& grey) {
    const std::vector<BarRun> runs = test::RowRuns(grey, test::BusiestRow(grey));
    Widths w;
    if (runs.size() < 3)
        return w;
    w.left = runs.front().width;
    w.right = runs.back().width;
    for (std::size_t i = 1; i + 1 < runs.size(); ++i)
        (runs[i].dark ? w.bars : w.gaps).insert(runs[i].width);
    return w;
}

TEST(GridPicture, EveryWidthClassIsOneWholeNumberOfPixels) {
    struct Row {
        BarCodeType type;
        const char* data;
        double points;
        int dpi;
        std::set<int> bars, gaps;
        int left, right;
        ZXing::BarcodeFormat format;
    };
    const Row rows[] = {
        // A module of 2 px: 10 modules of margin, and the stop's own gap of one on the right.
        {BarCodeType::Type39,
         "-%$Y-DS",
         12,
         300,
         {2, 6},
         {2, 6},
         20,
         22,
         ZXing::BarcodeFormat::Code39},
        // The start and stop glyphs carry 10 modules of quiet zone inside the margin. (The
        // decoder reads no Interleaved 2 of 5 shorter than six digits.)
        {BarCodeType::Type25i, "5356", 12, 300, {2, 6}, {2, 6}, 40, 40, ZXing::BarcodeFormat::None},
        // A module of 1.67 px: narrow 2, wide 5 rather than a mix of 1, 2, 5 and 6.
        {BarCodeType::Type39,
         "CODE 39",
         10,
         300,
         {2, 5},
         {2, 5},
         20,
         22,
         ZXing::BarcodeFormat::Code39},
        // PostNet: bar 80 and space 102 font units at 0.075 px each.
        {BarCodeType::TypePost,
         "12345",
         18,
         300,
         {6},
         {8},
         30 + 38,
         38 + 30,
         ZXing::BarcodeFormat::None},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.data);
        QString error;
        const QImage image = RenderBarcode(PictureRequest{row.type, BarHeight::Normal, row.points,
                                                          row.dpi, FontString(row.type, row.data)},
                                           &error);
        ASSERT_FALSE(image.isNull()) << error.toStdString();
        const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
        const Widths w = Measure(grey);
        EXPECT_EQ(w.bars, row.bars);
        EXPECT_EQ(w.gaps, row.gaps);
        EXPECT_EQ(w.left, row.left);
        EXPECT_EQ(w.right, row.right);
        if (row.format != ZXing::BarcodeFormat::None) {
            EXPECT_EQ(test::Read(grey, row.format), row.data);
        }
    }
}

TEST(GridPicture, RefusesANarrowBarUnderAPixelNamingTheSizeThatWorks) {
    struct Row {
        BarCodeType type;
        const char* data;
        int dpi;
        double tooSmall, smallest;
        const char* named;
    };
    const Row rows[] = {
        {BarCodeType::Type39, "A", 72, 24.9, 25, "25 points"},
        {BarCodeType::TypeUPC, "03600029145", 150, 21.8, 21.9, "21.9 points"},
    };
    for (const Row& row : rows) {
        const std::u32string s = FontString(row.type, row.data);
        QString error;
        EXPECT_TRUE(
            RenderBarcode(PictureRequest{row.type, BarHeight::Normal, row.tooSmall, row.dpi, s},
                          &error)
                .isNull());
        EXPECT_TRUE(error.contains(QString::fromLatin1(row.named))) << error.toStdString();
        EXPECT_FALSE(
            RenderBarcode(PictureRequest{row.type, BarHeight::Normal, row.smallest, row.dpi, s},
                          &error)
                .isNull());
    }
}

// Code 3 of 9 "A" at 25 points: a module of 1 pt, 40 font units.
const char* const kStar = "NWNNWNWNN";
const char* const kA = "WNNNNWNNW";

// The bars of "*A*" as (start, width), after a margin of 10 modules, `module` long.
std::vector<std::pair<int, int>> ExpectedBars(int module) {
    std::vector<std::pair<int, int>> bars;
    int x = 10;
    for (const char* pattern : {kStar, kA, kStar}) {
        for (int i = 0; i < 9; ++i) {
            const int w = pattern[i] == 'W' ? 3 : 1;
            if (i % 2 == 0)
                bars.emplace_back(x * module, w * module);
            x += w;
        }
        x += 1;  // the gap between characters
    }
    return bars;
}

QByteArray WriteVector(PictureFormat format, const QTemporaryDir& dir) {
    const std::string file = dir.filePath(QStringLiteral("a")).toStdString();
    const PictureRequest request{BarCodeType::Type39,
                                 BarHeight::Normal,
                                 25,
                                 300,
                                 FontString(BarCodeType::Type39, "A"),
                                 format};
    EXPECT_EQ(WriteBarcodePicture(request, file).message, "");
    QFile f(QString::fromStdString(file));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

TEST(VectorPicture, SvgBarsAtTheExactSize) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString svg = QString::fromUtf8(WriteVector(PictureFormat::Svg, dir));
    // 3 characters of 16 modules and 2 margins of 10: 68 pt wide; the line 1.43 em tall.
    EXPECT_TRUE(
        svg.contains(QStringLiteral("width=\"68pt\" height=\"35.75pt\" viewBox=\"0 0 2720 "
                                    "1430\"")))
        << svg.toStdString();
    std::vector<std::pair<int, int>> bars;
    const QRegularExpression rect(
        QStringLiteral("<rect x=\"(\\d+)\" y=\"140\" width=\"(\\d+)\" height=\"1150\"/>"));
    for (auto it = rect.globalMatch(svg); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        bars.emplace_back(m.captured(1).toInt(), m.captured(2).toInt());
    }
    EXPECT_EQ(bars, ExpectedBars(40));
}

TEST(VectorPicture, PdfPageAndBarsAtTheExactSize) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray pdf = WriteVector(PictureFormat::Pdf, dir);
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 68.000000 36.000000]"));
    // Rendered at 288 dpi a point is 4 pixels.
    const QString ppm = dir.filePath(QStringLiteral("page"));
    const std::string command = "pdftoppm -r 288 -gray -singlefile '" +
                                dir.filePath(QStringLiteral("a")).toStdString() + "' '" +
                                ppm.toStdString() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0)
        GTEST_SKIP() << "pdftoppm is not available";
    const QImage grey =
        QImage(ppm + QStringLiteral(".pgm")).convertToFormat(QImage::Format_Grayscale8);
    ASSERT_EQ(grey.width(), 68 * 4);
    std::vector<std::pair<int, int>> bars;
    for (const BarRun& b : test::Bars(test::RowRuns(grey, test::BusiestRow(grey))))
        bars.emplace_back(b.start, b.width);
    EXPECT_EQ(bars, ExpectedBars(4));
    EXPECT_EQ(test::Read(grey, ZXing::BarcodeFormat::Code39), "A");
}

// "-" writes the picture to standard output and nothing else there.
TEST(VectorPicture, ToStandardOutput) {
    const std::string command =
        std::string(SW_ENCODE_EXE) + " --type 39 --svg - A 2>/dev/null; echo \"rc=$?\"";
    const std::string out = test::Shell(command);
    EXPECT_EQ(out.rfind("<?xml", 0), 0u) << out;
    EXPECT_NE(out.find("</svg>\nrc=0\n"), std::string::npos) << out;
}

}  // namespace
}  // namespace sw
