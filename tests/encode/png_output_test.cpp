// Bar codes drawn in the bundled fonts must scan: pictures are read back with a real decoder
// (Code 3 of 9, Interleaved 2 of 5, UPC-A) or measured bar by bar (Code 2 of 5, PostNet).
#include <gtest/gtest.h>

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <optional>
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
using test::Bars;
using test::BusiestRow;

const BarHeight kHeights[] = {BarHeight::Short, BarHeight::Normal, BarHeight::Tall};
const int kDpis[] = {300, 600};

std::u32string FontString(BarCodeType type, const char* data, bool checksum) {
    const EncodeResult r = MakeFontString(type, DecodeUtf8(data), checksum);
    EXPECT_TRUE(r.ok()) << data << ": " << r.message();
    return r.fontString();
}

// The picture as the command-line encoder draws it, as grey levels.
QImage Render(BarCodeType type, BarHeight height, double points, int dpi,
              const std::u32string& fontString) {
    QString error;
    const QImage image =
        RenderBarcode(PictureRequest{type, height, points, dpi, fontString}, &error);
    EXPECT_FALSE(image.isNull()) << error.toStdString();
    return image.convertToFormat(QImage::Format_Grayscale8);
}

double Mm(double pixels, int dpi) {
    return pixels / dpi * 25.4;
}

// ---------------------------------------------------------------------------------------------
// Read back by zxing-cpp, at every height and at the sample page's sizes.

struct ReadCase {
    const char* name;
    BarCodeType type;
    ZXing::BarcodeFormat format;
    const char* data;
    bool checksum;
    const char* expected;  // what a scanner reports: the data with any check character
    int firstSize;         // the sample page's six sizes: firstSize + 4k
};

const ReadCase kReadCases[] = {
    {"Code39", BarCodeType::Type39, ZXing::BarcodeFormat::Code39, "CODE 39", false, "CODE 39", 16},
    {"Code39Check", BarCodeType::Type39, ZXing::BarcodeFormat::Code39, "CODE 39", true, "CODE 39R",
     16},
    {"Interleaved", BarCodeType::Type25i, ZXing::BarcodeFormat::ITF, "10293847", false, "10293847",
     16},
    {"InterleavedCheck", BarCodeType::Type25i, ZXing::BarcodeFormat::ITF, "1234567", true,
     "12345670", 16},
    {"UPCA", BarCodeType::TypeUPC, ZXing::BarcodeFormat::UPCA, "03600029145", false, "036000291452",
     40},
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadBack : public ::testing::TestWithParam<std::tuple<ReadCase, BarHeight>> {};

TEST_P(ReadBack, AtEverySampleSizeAndResolution) {
    const auto& [c, height] = GetParam();
    const std::u32string s = FontString(c.type, c.data, c.checksum);
    for (int dpi : kDpis) {
        for (int k = 0; k < 6; ++k) {
            const int points = c.firstSize + 4 * k;
            EXPECT_EQ(test::Read(Render(c.type, height, points, dpi, s), c.format), c.expected)
                << points << " points at " << dpi << " dpi";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Faces, ReadBack,
                         ::testing::Combine(::testing::ValuesIn(kReadCases),
                                            ::testing::ValuesIn(kHeights)),
                         [](const auto& p) {
                             return std::string(std::get<0>(p.param).name) +
                                    std::string(HeightSetting(std::get<1>(p.param)));
                         });

// Every symbol of each type, read once at the usual size.
TEST(ReadBack, EverySymbol) {
    struct Row {
        BarCodeType type;
        ZXing::BarcodeFormat format;
        std::string data;
        bool checksum;
        std::string expected;
    };
    std::string pairs;
    for (int v = 0; v < 100; ++v) pairs += std::to_string(v / 10) + std::to_string(v % 10);
    std::vector<Row> rows = {
        {BarCodeType::Type39, ZXing::BarcodeFormat::Code39,
         "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%", true,
         "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%0"},
        {BarCodeType::Type39, ZXing::BarcodeFormat::Code39, "Z3", true, "Z3 "},
        {BarCodeType::Type25i, ZXing::BarcodeFormat::ITF, pairs, false, pairs},
    };
    // Each digit at each place of a UPC-A number, the check digit included.
    const char* upc[] = {"01234567890", "12345678901", "23456789012", "34567890123", "45678901234",
                         "56789012345", "67890123456", "78901234567", "89012345678", "90123456789",
                         "00000000000", "00000000001", "00000000003", "00000000005", "00000000007",
                         "00000000009", "00000000002", "00000000004", "00000000006", "00000000008"};
    std::set<char> checkDigits;
    for (const char* d : upc) {
        const std::u32string s = FontString(BarCodeType::TypeUPC, d, false);
        const char check = static_cast<char>(s.back() - 96 + '0');
        checkDigits.insert(check);
        rows.push_back(
            {BarCodeType::TypeUPC, ZXing::BarcodeFormat::UPCA, d, false, std::string(d) + check});
    }
    EXPECT_EQ(checkDigits.size(), 10u);
    for (const Row& row : rows) {
        const std::u32string s = FontString(row.type, row.data.c_str(), row.checksum);
        const double points = Info(row.type).pointSize;
        EXPECT_EQ(test::Read(Render(row.type, BarHeight::Normal, points, 300, s), row.format),
                  row.expected);
    }
}

// ---------------------------------------------------------------------------------------------
// Code 2 of 5 (Industrial): no decoder library reads it, so the bars are measured and decoded
// from the symbology's table here.

const std::map<std::string, char> kTwoOfFive = {
    {"NNWWN", '0'}, {"WNNNW", '1'}, {"NWNNW", '2'}, {"WWNNN", '3'}, {"NNWNW", '4'},
    {"WNWNN", '5'}, {"NWWNN", '6'}, {"NNNWW", '7'}, {"WNNWN", '8'}, {"NWNWN", '9'}};

struct Measured {
    std::string text;    // decoded data, or what went wrong
    double narrow = 0;   // mean narrow element, pixels
    double wide = 0;     // mean wide element, pixels
    int leftQuiet = 0;   // light pixels before the first bar
    int rightQuiet = 0;  // and after the last
};

// Splits elements into narrow and wide at the midpoint of the narrowest and the widest.
std::string Classify(const std::vector<BarRun>& runs, Measured& m) {
    const auto [lo, hi] =
        std::minmax_element(runs.begin(), runs.end(),
                            [](const BarRun& a, const BarRun& b) { return a.width < b.width; });
    const double threshold = (lo->width + hi->width) / 2.0;
    std::string pattern;
    double narrowSum = 0, wideSum = 0;
    int narrowCount = 0, wideCount = 0;
    for (const BarRun& r : runs) {
        if (r.width > threshold) {
            pattern += 'W';
            wideSum += r.width;
            ++wideCount;
        } else {
            pattern += 'N';
            narrowSum += r.width;
            ++narrowCount;
        }
    }
    m.narrow = narrowCount ? narrowSum / narrowCount : 0;
    m.wide = wideCount ? wideSum / wideCount : 0;
    return pattern;
}

Measured Decode25(const QImage& grey) {
    Measured m;
    const std::vector<BarRun> runs = test::RowRuns(grey, BusiestRow(grey));
    if (runs.size() < 3 || runs.front().dark || runs.back().dark)
        return {"(no margin)"};
    m.leftQuiet = runs.front().width;
    m.rightQuiet = runs.back().width;
    const std::vector<BarRun> inner(runs.begin() + 1, runs.end() - 1);
    const std::string all = Classify(inner, m);
    std::string bars, spaces;
    for (std::size_t i = 0; i < all.size(); ++i) (i % 2 == 0 ? bars : spaces) += all[i];
    if (spaces.find('W') != std::string::npos)
        return {"(wide space)"};
    if (bars.size() < 6 || (bars.size() - 6) % 5 != 0)
        return {"(bar count " + std::to_string(bars.size()) + ")"};
    if (bars.substr(0, 3) != "WWN" || bars.substr(bars.size() - 3) != "WNW")
        return {"(start/stop)"};
    for (std::size_t i = 3; i + 3 < bars.size(); i += 5) {
        const auto it = kTwoOfFive.find(bars.substr(i, 5));
        if (it == kTwoOfFive.end())
            return {"(bad digit " + bars.substr(i, 5) + ")"};
        m.text += it->second;
    }
    return m;
}

TEST(Code25, DecodesAtEveryHeightSizeAndResolution) {
    const std::u32string s = FontString(BarCodeType::Type25, "0123456789", false);
    for (BarHeight height : kHeights) {
        for (int dpi : kDpis) {
            for (int points = 16; points <= 36; points += 4) {
                const Measured m = Decode25(Render(BarCodeType::Type25, height, points, dpi, s));
                EXPECT_EQ(m.text, "0123456789")
                    << HeightSetting(height) << " " << points << " points at " << dpi << " dpi";
                EXPECT_GE(m.leftQuiet, 10 * m.narrow);
                EXPECT_GE(m.rightQuiet, 10 * m.narrow);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Widths at the smallest sample size, measured on a 600 dpi picture: narrow element at least
// 0.19 mm, wide to narrow 3:1.

TEST(Dimensions, NarrowModuleAndRatioAtSixteenPoints) {
    struct Row {
        BarCodeType type;
        const char* data;
    };
    const Row rows[] = {{BarCodeType::Type25, "0123456789"},
                        {BarCodeType::Type25i, "0123456789"},
                        {BarCodeType::Type39, "CODE 39"}};
    for (const Row& row : rows) {
        const QImage grey =
            Render(row.type, BarHeight::Normal, 16, 600, FontString(row.type, row.data, false));
        std::vector<BarRun> runs = test::RowRuns(grey, BusiestRow(grey));
        ASSERT_GT(runs.size(), 2u);
        Measured m;
        Classify(std::vector<BarRun>(runs.begin() + 1, runs.end() - 1), m);
        SCOPED_TRACE(Info(row.type).storedText);
        EXPECT_GE(Mm(m.narrow, 600), 0.19);
        EXPECT_NEAR(m.wide / m.narrow, 3.0, 0.25);
    }
}

// UPC-A: the 95 modules from the first bar to the last give the module, 0.264 to 0.660 mm
// (80 % to 200 %) at the sample page's sizes.
TEST(Dimensions, UpcModuleWithinMagnificationRange) {
    const std::u32string s = FontString(BarCodeType::TypeUPC, "03600029145", false);
    for (int points : {40, 50, 60}) {
        const QImage grey = Render(BarCodeType::TypeUPC, BarHeight::Normal, points, 600, s);
        const std::vector<BarRun> bars = Bars(test::RowRuns(grey, BusiestRow(grey)));
        ASSERT_EQ(bars.size(), 30u);  // 2 + 2 + 6 x 2 + 3 + 6 x 2 - 1 shared
        const int span = bars.back().start + bars.back().width - bars.front().start;
        const double module = Mm(span / 95.0, 600);
        EXPECT_GE(module, 0.264) << points;
        EXPECT_LE(module, 0.660) << points;
    }
}

// ---------------------------------------------------------------------------------------------
// PostNet: the bars measured on a 600 dpi picture at 18 points, and decoded from the table.

const char* const kPostNet[] = {"FFhhh", "hhhFF", "hhFhF", "hhFFh", "hFhhF",
                                "hFhFh", "hFFhh", "FhhhF", "FhhFh", "FhFhh"};

struct PostNetReading {
    std::string digits;  // including the check digit, or what went wrong
    std::vector<double> fullHeights, halfHeights, widths;  // inches
    double pitch = 0;                                      // inches
    double leftQuiet = 0, rightQuiet = 0;                  // inches
};

PostNetReading PostNetFailure(std::string why) {
    PostNetReading r;
    r.digits = std::move(why);
    return r;
}

PostNetReading ReadPostNet(const QImage& grey, int dpi) {
    PostNetReading r;
    const int y = BusiestRow(grey);
    const std::vector<BarRun> runs = test::RowRuns(grey, y);
    const std::vector<BarRun> bars = Bars(runs);
    if (bars.size() < 7)
        return PostNetFailure("(too few bars)");
    r.leftQuiet = bars.front().start / double(dpi);
    r.rightQuiet = (grey.width() - bars.back().start - bars.back().width) / double(dpi);
    std::vector<int> heights;
    for (const BarRun& b : bars) {
        const auto [top, bottom] = test::ColumnExtent(grey, b.start + b.width / 2, y);
        heights.push_back(bottom - top + 1);
        r.widths.push_back(b.width / double(dpi));
    }
    const int tallest = *std::max_element(heights.begin(), heights.end());
    std::string pattern;
    for (int h : heights) {
        const bool full = h > 0.7 * tallest;
        pattern += full ? 'F' : 'h';
        (full ? r.fullHeights : r.halfHeights).push_back(h / double(dpi));
    }
    r.pitch = (bars.back().start - bars.front().start) / double(bars.size() - 1) / dpi;
    if (pattern.front() != 'F' || pattern.back() != 'F' || (pattern.size() - 2) % 5 != 0) {
        return PostNetFailure("(frame " + pattern + ")");
    }
    for (std::size_t i = 1; i + 1 < pattern.size(); i += 5) {
        const auto* it = std::find(std::begin(kPostNet), std::end(kPostNet), pattern.substr(i, 5));
        if (it == std::end(kPostNet))
            return PostNetFailure("(bad digit " + pattern.substr(i, 5) + ")");
        r.digits += static_cast<char>('0' + (it - std::begin(kPostNet)));
    }
    return r;
}

TEST(PostNet, DimensionsAtEighteenPoints) {
    const QImage grey = Render(BarCodeType::TypePost, BarHeight::Normal, 18, 600,
                               FontString(BarCodeType::TypePost, "123456789", false));
    const PostNetReading r = ReadPostNet(grey, 600);
    ASSERT_EQ(r.digits, "1234567895");
    ASSERT_EQ(r.fullHeights.size() + r.halfHeights.size(), 52u);
    for (double h : r.fullHeights) EXPECT_NEAR(h, 0.125, 0.010);
    for (double h : r.halfHeights) EXPECT_NEAR(h, 0.050, 0.010);
    for (double w : r.widths) EXPECT_NEAR(w, 0.020, 0.005);
    EXPECT_NEAR(1 / r.pitch, 22, 2);
    EXPECT_GE(r.leftQuiet, 0.125);
    EXPECT_GE(r.rightQuiet, 0.125);
}

TEST(PostNet, DecodesEveryLength) {
    struct Row {
        const char* data;
        const char* digits;
    };
    const Row rows[] = {{"12345", "123455"},
                        {"00000", "000000"},
                        {"987654321", "9876543215"},
                        {"12345678901", "123456789014"},
                        {"123456789012", "1234567890122"}};
    for (const Row& row : rows) {
        for (int dpi : kDpis) {
            const QImage grey = Render(BarCodeType::TypePost, BarHeight::Normal, 18, dpi,
                                       FontString(BarCodeType::TypePost, row.data, false));
            EXPECT_EQ(ReadPostNet(grey, dpi).digits, row.digits) << dpi << " dpi";
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The picture itself.

TEST(Picture, BlackOnWhiteAtTheRequestedResolution) {
    const QImage image =
        RenderBarcode(PictureRequest{BarCodeType::Type39, BarHeight::Normal, 24, 600,
                                     FontString(BarCodeType::Type39, "A", false)},
                      nullptr);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.depth(), 1);
    EXPECT_EQ(std::lround(image.dotsPerMeterX() * 0.0254), 600);
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y) {
        for (int x = 0; x < grey.width(); ++x) {
            const uchar v = grey.constScanLine(y)[x];
            ASSERT_TRUE(v == 0 || v == 255) << x << "," << y;
        }
    }
    // The margin all round is white.
    for (int x = 0; x < grey.width(); ++x) {
        EXPECT_EQ(grey.constScanLine(0)[x], 255);
        EXPECT_EQ(grey.constScanLine(grey.height() - 1)[x], 255);
    }
    // "*A*" is three characters of 16 modules of 0.04 em, plus 0.4 em either side.
    EXPECT_NEAR(image.width(), (3 * 16 * 0.04 + 0.8) * 24 * 600 / 72, 2);
}

TEST(Picture, TooLargeIsRefusedAsAUsageError) {
    QString error;
    int status = 0;
    const std::u32string s = FontString(BarCodeType::Type39, std::string(200, 'A').c_str(), false);
    EXPECT_TRUE(RenderBarcode(PictureRequest{BarCodeType::Type39, BarHeight::Tall, 400, 2400, s},
                              &error, &status)
                    .isNull());
    EXPECT_EQ(status, kExitUsage);
    EXPECT_TRUE(error.contains(QStringLiteral("900 million"))) << error.toStdString();
}

TEST(Picture, WritesTheFileWholeOrReportsWhy) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const PictureRequest request{BarCodeType::TypeUPC, BarHeight::Short, 50, 300,
                                 FontString(BarCodeType::TypeUPC, "12345678901", false)};
    const std::string file = dir.filePath(QStringLiteral("upc.png")).toStdString();
    EXPECT_EQ(WriteBarcodePicture(request, file).message, "");
    QImage written(QString::fromStdString(file));
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(
        test::Read(written.convertToFormat(QImage::Format_Grayscale8), ZXing::BarcodeFormat::UPCA),
        "123456789012");

    const std::string missing = dir.filePath(QStringLiteral("no/such/folder/x.png")).toStdString();
    const WriteOutcome refused = WriteBarcodePicture(request, missing);
    EXPECT_EQ(refused.status, kExitIoError);
    EXPECT_EQ(refused.message.rfind("cannot write " + missing, 0), 0u) << refused.message;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // no stray temporary file
}

// A picture whose memory cannot be had is a failure that leaves the old file as it was. The
// address space is limited in steps until a small picture just fits; the largest then cannot.
TEST(Picture, OutOfMemoryKeepsTheOldFile) {
    SW_SKIP_UNDER_A_MEMORY_LIMIT();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString good = dir.filePath(QStringLiteral("good.png"));
    {
        QFile f(good);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("the old picture");
    }
    const std::string folder = "cd '" + dir.path().toStdString() + "' && ";
    for (int kb = 50'000; kb <= 2'000'000; kb += 25'000) {
        const std::string limit = folder + "ulimit -v " + std::to_string(kb) + " && ";
        if (test::Shell(limit + SW_ENCODE_EXE " --type 39 --png small.png A >/dev/null 2>&1; "
                                              "echo $?") != "0\n")
            continue;
        EXPECT_EQ(test::Shell(limit + SW_ENCODE_EXE " --type 39 --height tall --size 400 "
                                                    "--dpi 1980 --png good.png A 2>&1; echo rc=$?"),
                  "stripewright-encode: not enough memory for a picture of 29920 x 27280 "
                  "pixels\nrc=3\n");
        QFile f(good);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "the old picture");
        return;
    }
    FAIL() << "no limit of the address space let a small picture be drawn";
}

// Sizes the options ask for that cannot be drawn are usage errors, and nothing is written.
TEST(Picture, SizeRefusalsAreUsageErrors) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string many(200, 'A');
    const std::string rows[] = {
        "--png a.png --size 4 --dpi 72 A",                          // bars under a pixel
        "--png a.png --height tall --size 400 --dpi 2400 " + many,  // too many pixels
        "--pdf a.pdf --size 400 " + many,                           // page over 200 inches
    };
    for (const std::string& row : rows) {
        EXPECT_EQ(
            test::Shell("cd '" + dir.path().toStdString() + "' && " SW_ENCODE_EXE " --type 39 " +
                        row + " 2>/dev/null; echo rc=$?"),
            "rc=2\n")
            << row;
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

// A file name is bytes: one that is not UTF-8 is written as given.
TEST(Picture, FileNameBytesAsGiven) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string name = dir.path().toStdString() + "/photo\xff.png";
    EXPECT_EQ(test::Shell(SW_ENCODE_EXE " --type 39 --png '" + name + "' A; echo rc=$?"), "rc=0\n");
    EXPECT_EQ(::access(name.c_str(), F_OK), 0);
    const std::string changed = dir.path().toStdString() + "/photo\xef\xbf\xbd.png";
    EXPECT_NE(::access(changed.c_str(), F_OK), 0);
}

// The program itself, as a user runs it.
TEST(Picture, CommandLine) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("a.png"));
    const std::string command = std::string(SW_ENCODE_EXE) + " --type 39 --png '" +
                                file.toStdString() + "' \"CODE 39\" 2>&1; echo \"rc=$?\"";
    const std::string out = test::Shell(command);
    EXPECT_EQ(out, "rc=0\n");  // nothing else on either stream
    const QImage image(file);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(
        test::Read(image.convertToFormat(QImage::Format_Grayscale8), ZXing::BarcodeFormat::Code39),
        "CODE 39");
}

}  // namespace
}  // namespace sw
