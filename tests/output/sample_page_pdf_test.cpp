// The sample page printed for real, into a PDF file at 600 dpi, and looked at as pixels.
#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include "output/pdf_page.h"

namespace sw {
namespace {

constexpr int kDpi = 600;
constexpr int kPitch = 119;   // line pitch at 600 dpi
constexpr int kLabelX = 300;  // half an inch
constexpr int kSampleX = 900;

struct LineCase {
    const char* what;
    int line;
    int pointSize;
    int left, right;  // the stretch of the page the line's ink is looked for in
};

TEST(SamplePagePdf, TextLinesSitWhereTheLayoutPutsThem) {
    if (!testing::HavePdfToPpm())
        GTEST_SKIP() << "pdftoppm is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("sample.pdf"));

    SamplePageInput input;
    input.data = QStringLiteral("CODE39");
    input.output = QStringLiteral("*CODE39*");
    input.type = BarCodeType::Type39;
    input.face = QStringLiteral("Sample 39");
    ASSERT_EQ(testing::PrintSamplePageToPdf(input, pdf, kDpi), QString());
    const QImage page = testing::RenderPdfPage(pdf, kDpi);
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.width(), 5100);  // 8.5 inches at 600 dpi

    // Lines whose line below is empty or starts lower than their own ink reaches.
    const LineCase lines[] = {
        {"vendor name", 2, 24, 0, 5100},     {"web address", 6, 12, 0, 5100},
        {"Data: ", 12, 12, 0, 5100},         {"String to use", 13, 12, 0, 5100},
        {"16 points:", 15, 10, 0, kSampleX}, {"20 points:", 17, 10, 0, kSampleX},
        {"24 points:", 19, 10, 0, kSampleX}, {"28 points:", 22, 10, 0, kSampleX},
        {"32 points:", 25, 10, 0, kSampleX}, {"36 points:", 29, 10, 0, kSampleX},
    };
    for (const LineCase& c : lines) {
        SCOPED_TRACE(c.what);
        const int top = c.line * kPitch;
        const double em = c.pointSize * kDpi / 72.0;
        const QRect ink = testing::InkIn(page, QRect(c.left, top, c.right - c.left, kPitch));
        ASSERT_FALSE(ink.isEmpty());
        // The line box's top is at `top`: capitals and digits start a little below it (the
        // line box holds the accents' room), and certainly not above it.
        EXPECT_GE(ink.top(), top + static_cast<int>(0.05 * em));
        EXPECT_LE(ink.top(), top + static_cast<int>(0.35 * em));
        EXPECT_GE(ink.left(), kLabelX);
        EXPECT_LE(ink.left(), kLabelX + static_cast<int>(0.2 * em));
    }
    // The "Data: " line: its box top at y = 1428.
    EXPECT_EQ(12 * kPitch, 1428);

    // Nothing above the vendor's name, nothing left of the label column.
    EXPECT_TRUE(testing::InkIn(page, QRect(0, 0, 5100, 2 * kPitch)).isEmpty());
    EXPECT_TRUE(testing::InkIn(page, QRect(0, 0, kLabelX, page.height())).isEmpty());
    // The samples start at the sample column, on their rows.
    const QRect samples =
        testing::InkIn(page, QRect(kSampleX - 60, 15 * kPitch, 4200, 20 * kPitch));
    ASSERT_FALSE(samples.isEmpty());
    EXPECT_GE(samples.left(), kSampleX);
    EXPECT_GE(samples.top(), 15 * kPitch);
}

TEST(SamplePagePdf, UnwritableFileIsReported) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("missing/folder/sample.pdf"));
    SamplePageInput input;
    input.face = QStringLiteral("Sample 39");
    const QString error = testing::PrintSamplePageToPdf(input, pdf, kDpi);
    EXPECT_TRUE(error.startsWith(QStringLiteral("Unable to write to "))) << error.toStdString();
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(pdf)));
}

}  // namespace
}  // namespace sw
