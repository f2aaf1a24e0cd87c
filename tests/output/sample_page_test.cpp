#include "output/sample_page.h"

#include <gtest/gtest.h>
#include <QStringList>
#include <algorithm>

#include "output/vendor.h"
#include "support/recording_print_surface.h"

namespace sw {
namespace {

using testing::DrawnText;
using testing::FakePrintDialog;
using testing::RecordingPrintSurface;

struct UnitsCase {
    int dpiX, dpiY;
    int tenth, height, pitch;
};

TEST(SamplePageUnits, FollowTheResolution) {
    const UnitsCase cases[] = {
        {600, 600, 60, 100, 119},  // 1.2 * 100 is whole: one less
        {300, 300, 30, 50, 59},    // 1.2 * 50 is whole: one less
        {300, 204, 30, 34, 40},    // 1.2 * 34 = 40.8
        {1200, 1200, 120, 200, 239},
        {200, 200, 20, 33, 39},  // 33.33 rounds down; 39.6 drops its fraction
        {203, 201, 20, 34, 40},  // 33.5 rounds up
        {72, 72, 7, 12, 14},
        {96, 96, 9, 16, 19},
        {360, 180, 36, 30, 35},  // across and down counted apart
    };
    for (const UnitsCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.dpiX << " x " << c.dpiY);
        const PageUnits units = UnitsForResolution(c.dpiX, c.dpiY);
        EXPECT_EQ(units.tenth, c.tenth);
        EXPECT_EQ(units.height, c.height);
        EXPECT_EQ(units.pitch, c.pitch);
        EXPECT_EQ(units.labelColumn(), 5 * c.tenth);
        EXPECT_EQ(units.sampleColumn(), 15 * c.tenth);
    }
}

struct Row {
    int line;
    int pointSize;
};

struct LayoutCase {
    const char* name;
    BarCodeType type;
    bool checksum;
    bool tall;
    QString face;
    QString output;
    std::vector<Row> rows;
};

// The page that the layout tables describe, spelled out line by line.
std::vector<DrawnText> ExpectedPage(const LayoutCase& c, int pitch, int labelX, int sampleX) {
    const QString arial = QStringLiteral("Arial");
    const QString data = QStringLiteral("DATA 1");
    std::vector<DrawnText> page = {
        {labelX, 2 * pitch, arial, 24, vendor::kName},
        {labelX, 4 * pitch, arial, 14, vendor::kStreet + QStringLiteral(", ") + vendor::kTown},
        {labelX, 5 * pitch, arial, 12, vendor::kPhoneAndFax},
        {labelX, 6 * pitch, arial, 12, vendor::kWebAddress},
        {labelX, 12 * pitch, arial, 12,
         QStringLiteral("Data: ") + data + QStringLiteral("    Typeface: ") + c.face},
    };
    int line = 13;
    if (c.checksum)
        page.push_back({labelX, line++ * pitch, arial, 12, "Includes checksum"});
    page.push_back({labelX, line * pitch, arial, 12,
                    QStringLiteral("String to use with bar code fonts: ") + c.output});
    for (const Row& row : c.rows) {
        page.push_back(
            {labelX, row.line * pitch, arial, 10, QStringLiteral("%1 points:").arg(row.pointSize)});
        page.push_back({sampleX, row.line * pitch, c.face, row.pointSize, c.output});
    }
    return page;
}

std::vector<LayoutCase> LayoutCases() {
    const std::vector<Row> narrow = {{15, 16}, {17, 20}, {19, 24}, {22, 28}, {25, 32}, {29, 36}};
    const std::vector<Row> narrowTall = {{15, 16}, {19, 20}, {23, 24},
                                         {28, 28}, {33, 32}, {39, 36}};
    // UPC-A rows are the same with Tall: it draws the normal face.
    const std::vector<Row> upc = {{15, 40}, {20, 44}, {26, 48}, {32, 52}, {39, 56}, {46, 60}};
    const auto lower = [](std::vector<Row> rows) {
        for (Row& r : rows) ++r.line;
        return rows;
    };
    return {
        {"Code25", BarCodeType::Type25, false, false, "Sample 25", "(12345)", narrow},
        {"Code25Tall", BarCodeType::Type25, false, true, "Sample 25 Tall", "(12345)", narrowTall},
        {"Code25iShort", BarCodeType::Type25i, false, false, "Sample 25 Interleaved Short", "{-C}",
         narrow},
        {"Code25iChecksum", BarCodeType::Type25i, true, false, "Sample 25 Interleaved", "{-E}",
         lower(narrow)},
        {"Code25iChecksumTall", BarCodeType::Type25i, true, true, "Sample 25 Interleaved Tall",
         "{-E}", lower(narrowTall)},
        {"Code39", BarCodeType::Type39, false, false, "Sample 39", "*DATA 1*", narrow},
        {"Code39ChecksumEmptyOutput", BarCodeType::Type39, true, false, "Sample 39", "",
         lower(narrow)},
        {"Code39Tall", BarCodeType::Type39, false, true, "Sample 39 Tall", "*A*", narrowTall},
        {"UpcA", BarCodeType::TypeUPC, false, false, "Sample UPCA", "(0123456)", upc},
        {"UpcAShort", BarCodeType::TypeUPC, false, false, "Sample UPCA Short", "(0123456)", upc},
        {"UpcATall", BarCodeType::TypeUPC, false, true, "Sample UPCA", "(0123456)", upc},
        {"PostNet", BarCodeType::TypePost, false, false, "Sample Postal", "(123456)", {{15, 18}}},
        {"PostNetTallIgnored",
         BarCodeType::TypePost,
         false,
         true,
         "Sample Postal",
         "(123456)",
         {{15, 18}}},
        {"PostNetEmptyOutput",
         BarCodeType::TypePost,
         false,
         false,
         "Sample Postal",
         "",
         {{15, 18}}},
    };
}

SamplePageInput InputFor(const LayoutCase& c) {
    SamplePageInput input;
    input.data = QStringLiteral("DATA 1");
    input.output = c.output;
    input.type = c.type;
    input.checksum = c.checksum;
    input.tall = c.tall;
    input.face = c.face;
    return input;
}

void ExpectLayout(int dpi, int pitch, int labelX, int sampleX) {
    for (const LayoutCase& c : LayoutCases()) {
        SCOPED_TRACE(::testing::Message() << c.name << " at " << dpi << " dpi");
        RecordingPrintSurface surface;
        surface.dpiX = surface.dpiY = dpi;
        EXPECT_EQ(PrintSamplePage(surface, InputFor(c)), QString());
        EXPECT_EQ(surface.drawn, ExpectedPage(c, pitch, labelX, sampleX));
        EXPECT_EQ(surface.title, QString());
        ASSERT_GE(surface.calls.size(), 3u);
        EXPECT_EQ(surface.calls[0], "title");
        EXPECT_EQ(surface.calls[1], "begin");
        EXPECT_EQ(surface.calls.back(), "end");
        EXPECT_EQ(std::count(surface.calls.begin(), surface.calls.end(), "begin"), 1);
        EXPECT_EQ(std::count(surface.calls.begin(), surface.calls.end(), "end"), 1);
    }
}

TEST(SamplePage, LayoutAt600Dpi) {
    ExpectLayout(600, 119, 300, 900);
}

TEST(SamplePage, LayoutAt300Dpi) {
    ExpectLayout(300, 59, 150, 450);
}

TEST(SamplePage, DataLineTopAt600Dpi) {
    RecordingPrintSurface surface;
    SamplePageInput input;
    input.data = QStringLiteral("1234");
    input.face = QStringLiteral("Sample 39");
    PrintSamplePage(surface, input);
    const auto data = std::find_if(surface.drawn.begin(), surface.drawn.end(), [](auto& d) {
        return d.text.startsWith(QStringLiteral("Data: "));
    });
    ASSERT_NE(data, surface.drawn.end());
    EXPECT_EQ(data->y, 1428);
    EXPECT_EQ(data->x, 300);
    EXPECT_EQ(data->text, QStringLiteral("Data: 1234    Typeface: Sample 39"));
}

TEST(SamplePage, FailuresAreReported) {
    SamplePageInput input;
    input.face = QStringLiteral("Sample 39");
    {
        RecordingPrintSurface surface;
        surface.failBegin = true;
        EXPECT_EQ(PrintSamplePage(surface, input), QStringLiteral("cannot begin"));
        EXPECT_TRUE(surface.drawn.empty());
    }
    {
        RecordingPrintSurface surface;
        surface.failEnd = true;
        EXPECT_EQ(PrintSamplePage(surface, input), QStringLiteral("cannot end"));
    }
    {
        RecordingPrintSurface surface;
        surface.dpiX = 0;
        EXPECT_FALSE(PrintSamplePage(surface, input).isEmpty());
        EXPECT_EQ(std::count(surface.calls.begin(), surface.calls.end(), "begin"), 0);
    }
}

struct CommandRun {
    QStringList previewErrors;
    QStringList failures;
};

CommandRun RunCommand(FakePrintDialog& dialog, bool made) {
    CommandRun run;
    SamplePageInput input;
    input.output = QStringLiteral("*A*");
    input.face = QStringLiteral("Sample 39");
    PrintSampleCommand(
        dialog, nullptr, made, input, [&](const QString& m) { run.previewErrors << m; },
        [&](const QString& m) { run.failures << m; });
    return run;
}

TEST(SampleCommand, RefusesBeforeMake) {
    FakePrintDialog dialog;
    const CommandRun run = RunCommand(dialog, false);
    EXPECT_EQ(run.previewErrors,
              QStringList{QStringLiteral("Error, you must click \"Make\" before printing")});
    EXPECT_EQ(dialog.shown, 0);
    EXPECT_TRUE(dialog.surface.calls.empty());
}

TEST(SampleCommand, CancelledDialogPrintsNothingAndSaysNothing) {
    FakePrintDialog dialog;
    dialog.cancel = true;
    const CommandRun run = RunCommand(dialog, true);
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_TRUE(dialog.surface.calls.empty());
    EXPECT_TRUE(run.previewErrors.isEmpty());
    EXPECT_TRUE(run.failures.isEmpty());
}

TEST(SampleCommand, PrintsOnePageAndCanPrintAgain) {
    FakePrintDialog dialog;
    for (int i = 1; i <= 2; ++i) {
        const CommandRun run = RunCommand(dialog, true);
        EXPECT_TRUE(run.previewErrors.isEmpty());
        EXPECT_TRUE(run.failures.isEmpty());
        EXPECT_EQ(std::count(dialog.surface.calls.begin(), dialog.surface.calls.end(), "end"), i);
    }
}

TEST(SampleCommand, PrinterFailureIsReportedNotSwallowed) {
    FakePrintDialog dialog;
    dialog.surface.failBegin = true;
    const CommandRun run = RunCommand(dialog, true);
    ASSERT_EQ(run.failures.size(), 1);
    EXPECT_TRUE(run.failures[0].contains(QStringLiteral("cannot begin")));
    EXPECT_TRUE(run.previewErrors.isEmpty());
}

}  // namespace
}  // namespace sw
