// Code 128, GS1-128 and EAN-13 drawn in their faces must scan; the Intelligent Mail barcode,
// which zxing-cpp does not read, is measured bar by bar against the USPS examples.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <string>

#include "bar_scan.h"
#include "barcode/make.h"
#include "barcode/text.h"
#include "encode/picture_output.h"

namespace sw {
namespace {

QImage Draw(BarCodeType type, BarHeight height, double points, int dpi, const char* data) {
    const EncodeResult r = MakeFontString(type, DecodeUtf8(data), false);
    EXPECT_TRUE(r.ok()) << data << ": " << r.message();
    QString error;
    const QImage image =
        RenderBarcode(PictureRequest{type, height, points, dpi, r.fontString()}, &error);
    EXPECT_FALSE(image.isNull()) << error.toStdString();
    return image.convertToFormat(QImage::Format_Grayscale8);
}

TEST(SymbologiesReadBack, AtTheirSmallestAndLargestUsualSizes) {
    struct Row {
        BarCodeType type;
        ZXing::BarcodeFormat format;
        const char* data;
        std::string expected;
        double points[2];
    };
    const Row rows[] = {
        {BarCodeType::Type128, ZXing::BarcodeFormat::Code128, "Code 128", "Code 128", {16, 36}},
        {BarCodeType::Type128,
         ZXing::BarcodeFormat::Code128,
         "ab\tcd 1234567890~",
         "ab\tcd 1234567890~",
         {16, 36}},
        {BarCodeType::TypeGS1_128,
         ZXing::BarcodeFormat::Code128,
         "(01)09501101530003(10)ABC123(21)4567",
         "01095011015300031"
         "0ABC123\x1d"
         "214567",
         {16, 36}},
        {BarCodeType::TypeEAN13,
         ZXing::BarcodeFormat::EAN13,
         "590123412345",
         "5901234123457",
         {40, 60}},
        {BarCodeType::TypeEAN13,
         ZXing::BarcodeFormat::EAN13,
         "9780201379624",
         "9780201379624",
         {40, 60}},
    };
    for (const Row& row : rows) {
        for (BarHeight height : {BarHeight::Short, BarHeight::Normal, BarHeight::Tall}) {
            for (double points : row.points) {
                for (int dpi : {300, 600}) {
                    EXPECT_EQ(test::Read(Draw(row.type, height, points, dpi, row.data), row.format),
                              row.expected)
                        << row.data << " " << HeightSetting(height) << " " << points << " pt "
                        << dpi << " dpi";
                }
            }
        }
    }
}

// The states of the bars of an Intelligent Mail barcode picture, and their dimensions in inches.
struct ImbReading {
    std::string bars;
    double full = 0, tracker = 0, width = 0, pitch = 0;
};

ImbReading ReadImb(const QImage& grey, int dpi) {
    ImbReading r;
    const int y = test::BusiestRow(grey);
    const std::vector<test::BarRun> bars = test::Bars(test::RowRuns(grey, y));
    if (bars.empty())
        return r;
    std::vector<std::pair<int, int>> extents;
    for (const test::BarRun& b : bars) {
        extents.push_back(test::ColumnExtent(grey, b.start + b.width / 2, y));
        r.width = std::max(r.width, b.width / double(dpi));
    }
    int top = grey.height(), bottom = 0, trackerTop = 0, trackerBottom = grey.height();
    for (const auto& [t, b] : extents) {
        top = std::min(top, t);
        bottom = std::max(bottom, b);
        trackerTop = std::max(trackerTop, t);
        trackerBottom = std::min(trackerBottom, b);
    }
    for (const auto& [t, b] : extents) {
        const bool ascender = t < trackerTop - 2;
        const bool descender = b > trackerBottom + 2;
        r.bars += ascender ? (descender ? 'F' : 'A') : (descender ? 'D' : 'T');
    }
    r.full = (bottom - top + 1) / double(dpi);
    r.tracker = (trackerBottom - trackerTop + 1) / double(dpi);
    r.pitch = (bars.back().start - bars.front().start) / double(bars.size() - 1) / dpi;
    return r;
}

TEST(IntelligentMail, UspsExamplesBarByBarAtUspsDimensions) {
    const std::pair<const char*, const char*> examples[] = {
        {"01234567094987654321",
         "ATTFATTDTTADTAATTDTDTATTDAFDDFADFDFTFFFFFTATFAAAATDFFTDAADFTFDTDT"},
        {"01234567094987654321-01234567891",
         "AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA"},
    };
    for (const auto& [data, bars] : examples) {
        for (int dpi : {300, 600}) {
            const ImbReading r =
                ReadImb(Draw(BarCodeType::TypeIMb, BarHeight::Normal, 18, dpi, data), dpi);
            EXPECT_EQ(r.bars, bars) << data << " at " << dpi << " dpi";
            EXPECT_NEAR(r.full, 0.145, 0.01);
            EXPECT_NEAR(r.tracker, 0.048, 0.009);
            EXPECT_NEAR(r.width, 0.020, 0.005);
            EXPECT_NEAR(1 / r.pitch, 22, 2);
        }
    }
}

}  // namespace
}  // namespace sw
