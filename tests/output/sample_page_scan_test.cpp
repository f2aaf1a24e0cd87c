// The sample page printed into a PDF at 600 dpi with the program's own bar code fonts, rendered,
// and every sample row decoded: each must read back as the data.
#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "barcode/make.h"
#include "output/pdf_page.h"

namespace sw {

// Makes the bar code faces known to the font system (see barcode_fonts_for_test.cpp).
bool RegisterBarcodeFontsForTest();

namespace {

constexpr int kDpi = 600;
constexpr int kPitch = 119;
constexpr int kSampleX = 900;

struct Row {
    int line;
    int pointSize;
};

struct ScanCase {
    const char* name;
    BarCodeType type;
    BarHeight height;
    bool checksum;
    const char32_t* data;
    ZXing::BarcodeFormat format;
    const char* decoded;
    std::vector<Row> rows;
};

std::vector<ScanCase> ScanCases() {
    const std::vector<Row> narrow = {{15, 16}, {17, 20}, {19, 24}, {22, 28}, {25, 32}, {29, 36}};
    const std::vector<Row> narrowTall = {{15, 16}, {19, 20}, {23, 24},
                                         {28, 28}, {33, 32}, {39, 36}};
    const std::vector<Row> upc = {{15, 40}, {20, 44}, {26, 48}, {32, 52}, {39, 56}, {46, 60}};
    return {
        {"Code39", BarCodeType::Type39, BarHeight::Normal, false, U"CODE-39 $/+%.",
         ZXing::BarcodeFormat::Code39, "CODE-39 $/+%.", narrow},
        {"Code39Tall", BarCodeType::Type39, BarHeight::Tall, false, U"AB12",
         ZXing::BarcodeFormat::Code39, "AB12", narrowTall},
        {"Code39Short", BarCodeType::Type39, BarHeight::Short, false, U"XYZ",
         ZXing::BarcodeFormat::Code39, "XYZ", narrow},
        {"Interleaved", BarCodeType::Type25i, BarHeight::Normal, false, U"1234567890",
         ZXing::BarcodeFormat::ITF, "1234567890", narrow},
        {"InterleavedHighPairs", BarCodeType::Type25i, BarHeight::Normal, false,
         U"9091929394959697989900", ZXing::BarcodeFormat::ITF, "9091929394959697989900", narrow},
        {"InterleavedChecksumTall",
         BarCodeType::Type25i,
         BarHeight::Tall,
         true,
         U"12345",
         ZXing::BarcodeFormat::ITF,
         "123457",
         {{16, 16}, {20, 20}, {24, 24}, {29, 28}, {34, 32}, {40, 36}}},
        {"UpcA", BarCodeType::TypeUPC, BarHeight::Normal, false, U"01234567890",
         ZXing::BarcodeFormat::UPCA, "012345678905", upc},
        {"UpcAShort", BarCodeType::TypeUPC, BarHeight::Short, false, U"03600029145",
         ZXing::BarcodeFormat::UPCA, "036000291452", upc},
    };
}

std::string Decode(const QImage& page, const QRect& band, ZXing::BarcodeFormat format) {
    const QRect area = band.intersected(page.rect());
    const ZXing::ImageView view(page.constScanLine(area.top()) + area.left(), area.width(),
                                area.height(), ZXing::ImageFormat::Lum,
                                static_cast<int>(page.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(format);
    hints.setTryHarder(true);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    return result.isValid() ? result.text() : std::string("(no bar code)");
}

// The stretches of scan lines, from `top` down, that have ink right of `left`.
std::vector<std::pair<int, int>> InkBands(const QImage& page, int left, int top) {
    std::vector<std::pair<int, int>> bands;
    bool inBand = false;
    for (int y = top; y < page.height(); ++y) {
        const uchar* line = page.constScanLine(y);
        bool ink = false;
        for (int x = left; x < page.width() && !ink; ++x) ink = line[x] < 128;
        if (ink && !inBand)
            bands.push_back({y, y});
        if (ink)
            bands.back().second = y;
        inBand = ink;
    }
    return bands;
}

TEST(SamplePageScan, EverySampleRowDecodesAsTheData) {
    ASSERT_TRUE(RegisterBarcodeFontsForTest());
    if (!testing::HavePdfToPpm())
        GTEST_SKIP() << "pdftoppm is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const ScanCase& c : ScanCases()) {
        SCOPED_TRACE(c.name);
        const EncodeResult made = MakeFontString(c.type, c.data, c.checksum);
        ASSERT_TRUE(made.ok()) << made.message();
        SamplePageInput input;
        input.data = QString::fromStdU32String(c.data);
        input.output = QString::fromStdU32String(made.fontString());
        input.type = c.type;
        input.checksum = c.checksum;
        input.tall = c.height == BarHeight::Tall;
        const std::string_view face = FaceName(c.type, c.height);
        input.face = QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));

        const QString pdf = dir.filePath(QString::fromLatin1(c.name) + QStringLiteral(".pdf"));
        ASSERT_EQ(testing::PrintSamplePageToPdf(input, pdf, kDpi), QString());
        const QImage page = testing::RenderPdfPage(pdf, kDpi);
        ASSERT_FALSE(page.isNull());

        for (const Row& row : c.rows) {
            SCOPED_TRACE(::testing::Message() << row.pointSize << " points");
            // The row's bar code: from a little left of the sample column (the label column
            // ends well before it) to the page's edge, and down by its own height.
            const int top = row.line * kPitch;
            const int height = row.pointSize * kDpi / 72 * 13 / 10;
            const QRect band(kSampleX - 200, top, page.width() - (kSampleX - 200), height);
            EXPECT_EQ(Decode(page, band, c.format), c.decoded);
        }
        // No two rows touch: the samples' ink falls into one band per row, each below its
        // row's line top and ending above the next row's.
        const auto bands = InkBands(page, kSampleX - 200, c.rows.front().line * kPitch);
        ASSERT_EQ(bands.size(), c.rows.size());
        for (size_t i = 0; i < bands.size(); ++i) {
            EXPECT_GE(bands[i].first, c.rows[i].line * kPitch) << c.rows[i].pointSize;
            if (i + 1 < bands.size()) {
                EXPECT_LT(bands[i].second, c.rows[i + 1].line * kPitch) << c.rows[i].pointSize;
            }
        }
    }
}

}  // namespace
}  // namespace sw
