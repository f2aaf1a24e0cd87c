// Sheets of labels written as PDF, rendered with pdftoppm and measured: every label in its place
// on every page, every bar code read back as its item; and the jobs that must write nothing.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <csignal>
#include <string>
#include <vector>

#include "bar_scan.h"
#include "barcode/make.h"
#include "barcode/text.h"
#include "encode/encoder_cli.h"
#include "encode/sheet_output.h"
#include "encoder_run.h"
#include "output/rtf_reader.h"
#include "support/pdf_pixels.h"

namespace sw {
namespace {

constexpr int kDpi = 300;

// The plain text that a PDF page holds.
std::string PageText(const QString& pdf, int page) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                   QString::number(page), pdf, QStringLiteral("-")});
    process.waitForFinished(120000);
    return process.readAllStandardOutput().toStdString();
}

SheetJob Job(BarCodeType type, const SheetGeometry& sheet, const std::string& name,
             const std::vector<std::string>& data) {
    SheetJob job{type, {}, {}, {}};
    job.options.sheet = sheet;
    job.options.sheetName = name;
    unsigned long long line = 0;
    for (const std::string& d : data) {
        const EncodeResult r = MakeFontString(type, DecodeUtf8(d), false);
        EXPECT_TRUE(r.ok()) << d;
        job.items.push_back({++line, d, r.fontString()});
    }
    return job;
}

// Checks every label of every page of the job's PDF: the ones that hold an item carry a bar
// code centred on the label (within 0.01 in) that reads as the item; the others are blank.
void ExpectLabelsInPlace(const SheetJob& job, const QString& pdf, const std::string& what) {
    const SheetOptions& o = job.options;
    const long long first = o.firstLabel - 1;
    const long long count = static_cast<long long>(job.items.size()) * o.copies;
    const long long pages = (first + count + o.sheet.Labels() - 1) / o.sheet.Labels();
    const double tolerance = 0.01 * kDpi + 1;  // 0.01 in, and the pixel the ink edge rounds to
    for (int p = 0; p < pages; ++p) {
        const QImage page = testing::RenderPdfPage(pdf, kDpi, p + 1);
        ASSERT_FALSE(page.isNull()) << what;
        EXPECT_NEAR(page.width(), o.paper.width * kDpi, 1.5) << what;
        EXPECT_NEAR(page.height(), o.paper.height * kDpi, 1.5) << what;
        const std::string text = o.text ? PageText(pdf, p + 1) : std::string();
        for (int l = 0; l < o.sheet.Labels(); ++l) {
            const long long slot = static_cast<long long>(p) * o.sheet.Labels() + l;
            const LabelPlace place = PlaceOf(o.sheet, slot);
            const QRectF label((o.sheet.x0 + place.column * o.sheet.dx) * kDpi,
                               (o.sheet.y0 + place.row * o.sheet.dy) * kDpi, o.sheet.width * kDpi,
                               o.sheet.height * kDpi);
            const QRect box = label.toAlignedRect();
            const QRect ink = testing::InkIn(page, box);
            const std::string where =
                what + ", page " + std::to_string(p + 1) + " label " + std::to_string(l + 1);
            if (slot < first || slot >= first + count) {
                EXPECT_TRUE(ink.isNull()) << where << " should be blank";
                continue;
            }
            const SheetItem& item = job.items[static_cast<std::size_t>((slot - first) / o.copies)];
            ASSERT_FALSE(ink.isNull()) << where;
            EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, label.center().x(), tolerance)
                << where;
            if (!o.text) {
                EXPECT_NEAR((ink.top() + ink.bottom() + 1) / 2.0, label.center().y(), tolerance)
                    << where;
            }
            // UPC-A and EAN-13 read back with their check digits, GS1-128 without the
            // parentheses around its application identifiers.
            std::string expected = item.data;
            if (job.type == BarCodeType::TypeGS1_128)
                std::erase_if(expected, [](char c) { return c == '(' || c == ')'; });
            const std::string read = test::Read(page.copy(box));
            EXPECT_EQ(read.substr(0, expected.size()), expected) << where << " reads " << read;
            if (o.text) {
                EXPECT_NE(text.find(item.data), std::string::npos) << where << ": no text";
            }
        }
    }
}

TEST(SheetPdf, EveryLabelOfEveryPageInPlace) {
    if (!testing::HavePdfToPpm())
        GTEST_SKIP() << "pdftoppm is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Row {
        std::string name;
        SheetGeometry sheet;
        SheetPaper paper;
        int first, copies;
        bool text;
        BarCodeType type;
        long long items;  // 0: two sheets and one label
    };
    std::vector<Row> rows;
    for (std::size_t i = 0; i < kSheetCount; ++i)
        rows.push_back({std::string(kLabelChoices[i].stockNumber), kLabelChoices[i].sheet,
                        kLetterPaper, 1, 1, i % 2 == 1, BarCodeType::Type39, 0});
    // A custom sheet on A4, with gaps between the rows; UPC-A, whose digits are outlines.
    rows.push_back({"custom",
                    {3, 4, 2.5, 1.5, 0.5, 0.75, 2.6, 2.5},
                    kA4Paper,
                    1,
                    1,
                    true,
                    BarCodeType::TypeUPC,
                    0});
    // A sheet already partly used, each item twice: the job runs over to a second page.
    rows.push_back(
        {"5161", kLabelChoices[3].sheet, kLetterPaper, 19, 2, false, BarCodeType::Type39, 2});
    // The types made only by the command line, each on two pages.
    rows.push_back(
        {"5160", kLabelChoices[2].sheet, kLetterPaper, 1, 1, false, BarCodeType::Type128, 31});
    rows.push_back(
        {"5161", kLabelChoices[3].sheet, kLetterPaper, 1, 1, true, BarCodeType::TypeGS1_128, 21});
    rows.push_back(
        {"5163", kLabelChoices[6].sheet, kLetterPaper, 1, 1, true, BarCodeType::TypeEAN13, 11});
    for (const Row& row : rows) {
        const long long n = row.items != 0 ? row.items : 2LL * row.sheet.Labels() + 1;
        std::vector<std::string> data;
        for (long long k = 0; k < n; ++k) {
            const std::string number = std::to_string(100 + k);
            switch (row.type) {
                case BarCodeType::TypeUPC:
                    data.push_back(std::to_string(36000291450 + k));
                    break;
                case BarCodeType::Type128:
                    data.push_back("Ab-" + number);
                    break;
                case BarCodeType::TypeGS1_128:
                    data.push_back("(01)09501101530003(10)L" + number);
                    break;
                case BarCodeType::TypeEAN13:
                    data.push_back("590123412" + number);
                    break;
                default:
                    data.push_back("S" + number);
            }
        }
        SheetJob job = Job(row.type, row.sheet, row.name, data);
        job.options.paper = row.paper;
        job.options.firstLabel = row.first;
        job.options.copies = row.copies;
        job.options.text = row.text;
        const QString pdf = dir.filePath(QString::fromStdString(row.name) +
                                         QString::number(static_cast<int>(row.type)) + ".pdf");
        const WriteOutcome r = WriteLabelSheets(job, pdf.toStdString());
        ASSERT_EQ(r.status, 0) << row.name << ": " << r.message;
        ExpectLabelsInPlace(
            job, pdf, "sheet " + row.name + " type " + std::to_string(static_cast<int>(row.type)));
    }
}

// The Intelligent Mail barcode prints at its one size, whatever room the label leaves, and
// needs its quiet zones beside it on the label.
TEST(SheetPdf, IntelligentMailAtItsSizeWithItsQuietZones) {
    if (!testing::HavePdfToPpm())
        GTEST_SKIP() << "pdftoppm is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::vector<std::string> data;
    for (int k = 0; k < 21; ++k) data.push_back("0123456709498765" + std::to_string(4300 + k));
    const SheetGeometry& sheet = kLabelChoices[3].sheet;  // 5161, 20 labels of 4 x 1 in
    const SheetJob job = Job(BarCodeType::TypeIMb, sheet, "5161", data);
    const QString pdf = dir.filePath(QStringLiteral("imb.pdf"));
    const WriteOutcome r = WriteLabelSheets(job, pdf.toStdString());
    ASSERT_EQ(r.status, 0) << r.message;
    for (int p = 0; p < 2; ++p) {
        const QImage page = testing::RenderPdfPage(pdf, kDpi, p + 1);
        ASSERT_FALSE(page.isNull());
        for (int l = 0; l < (p == 0 ? sheet.Labels() : 2); ++l) {
            const LabelPlace place = PlaceOf(sheet, l);
            const QRectF label((sheet.x0 + place.column * sheet.dx) * kDpi,
                               (sheet.y0 + place.row * sheet.dy) * kDpi, sheet.width * kDpi,
                               sheet.height * kDpi);
            const QRect ink = testing::InkIn(page, label.toAlignedRect());
            const std::string where =
                "page " + std::to_string(p + 1) + " label " + std::to_string(l + 1);
            if (p == 1 && l == 1) {
                EXPECT_TRUE(ink.isNull()) << where << " should be blank";
                continue;
            }
            ASSERT_FALSE(ink.isNull()) << where;
            const std::vector<test::BarRun> bars =
                test::Bars(test::RowRuns(page.copy(ink), ink.height() / 2));
            ASSERT_EQ(bars.size(), 65u) << where;
            const double pitch =
                (bars.back().start - bars.front().start) / 64.0 / kDpi;  // inches per bar
            EXPECT_NEAR(1 / pitch, 22, 1) << where;
            EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, label.center().x(), 0.01 * kDpi + 1)
                << where;
        }
    }
    // The bars alone, 2.95 in, would fit a 3.3 in label; with 1/8 in either side they do not.
    SheetJob narrow = job;
    narrow.options.sheet = {1, 5, 3.3, 1, 0.5, 0.5, 3.3, 1};
    narrow.options.sheetName = "custom";
    const WriteOutcome refused =
        WriteLabelSheets(narrow, dir.filePath(QStringLiteral("narrow.pdf")).toStdString());
    EXPECT_EQ(refused.status, kExitUsage);
    EXPECT_NE(refused.message.find("does not fit a 3.30 x 1.00 in label"), std::string::npos)
        << refused.message;
}

// The filled template: each label's cell holds the font string in the face, with the blanks
// that make the Intelligent Mail barcode's quiet zones, and the data under it as entered.
TEST(SheetRtf, IntelligentMailLabelsFilledInTheFace) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::vector<std::string> data = {"00270103001234567890",
                                           "01234567094987654321-01234567891"};
    SheetJob job = Job(BarCodeType::TypeIMb, kLabelChoices[6].sheet, "5163", data);
    job.options.format = SheetFormat::Rtf;
    job.options.text = true;
    job.options.copies = 2;
    const QString path = dir.filePath(QStringLiteral("imb.rtf"));
    const WriteOutcome r = WriteLabelSheets(job, path.toStdString());
    ASSERT_EQ(r.status, 0) << r.message;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const testing::RtfText rtf = testing::ReadRtf(file.readAll());
    ASSERT_TRUE(rtf.error.isEmpty()) << rtf.error.toStdString();
    QString bars, text;
    for (const testing::RtfChar& ch : rtf.chars) {
        if (ch.face == QStringLiteral("Sample IMb")) {
            EXPECT_EQ(ch.halfPoints, 36);
            bars += QString::fromUcs4(&ch.c, 1);
        } else {
            text += QString::fromUcs4(&ch.c, 1);
        }
    }
    QString expected;
    for (const SheetItem& item : job.items) {
        const QString alone = QString::fromStdU32String(U" " + item.fontString + U" ");
        expected += alone + alone;
        EXPECT_EQ(text.count(QString::fromStdString(item.data)), 2) << item.data;
    }
    EXPECT_EQ(bars, expected);
}

// The digits under UPC-A bars are text in a face the document embeds once, not curves written
// again for every label (over 5 KB a label).
TEST(SheetPdf, UpcDigitsShareOneEmbeddedFace) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::vector<std::string> data;
    for (int k = 0; k < 30; ++k) data.push_back(std::to_string(36000291450 + k));
    const SheetJob job = Job(BarCodeType::TypeUPC, kLabelChoices[6].sheet, "5163", data);
    const QString pdf = dir.filePath(QStringLiteral("upc.pdf"));
    ASSERT_EQ(WriteLabelSheets(job, pdf.toStdString()).status, 0);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.count("/FontFile2"), 1);
    EXPECT_LT(bytes.size(), 30 * 1024);
}

// Items of different lengths share one size, that of the longest, unless each label is fitted on
// its own: the bars of a short item then stand taller than those of a long one.
TEST(SheetPdf, OneSizeForEveryLabelUnlessFitEach) {
    if (!testing::HavePdfToPpm())
        GTEST_SKIP() << "pdftoppm is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const SheetGeometry& sheet = kLabelChoices[2].sheet;  // 5160
    for (const bool each : {false, true}) {
        SheetJob job = Job(BarCodeType::Type39, sheet, "5160", {"A1", "ABCDEFGH12"});
        job.options.fitEach = each;
        const QString pdf =
            dir.filePath(each ? QStringLiteral("each.pdf") : QStringLiteral("one.pdf"));
        ASSERT_EQ(WriteLabelSheets(job, pdf.toStdString()).status, 0);
        const QImage page = testing::RenderPdfPage(pdf, kDpi, 1);
        ASSERT_FALSE(page.isNull());
        std::vector<int> heights;
        for (int l = 0; l < 2; ++l) {
            const QRectF label((sheet.x0 + l * sheet.dx) * kDpi, sheet.y0 * kDpi,
                               sheet.width * kDpi, sheet.height * kDpi);
            heights.push_back(testing::InkIn(page, label.toAlignedRect()).height());
        }
        if (each)
            EXPECT_GT(heights[0], heights[1] + 10);
        else
            EXPECT_NEAR(heights[0], heights[1], 1);
    }
}

// The printer's calibration moves and scales the whole page about its centre, labels and guides
// alike; the guides mark every label of the page, with or without an item on it.
TEST(SheetPdf, CalibrationAndGuides) {
    if (!testing::HavePdfToPpm())
        GTEST_SKIP() << "pdftoppm is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const SheetGeometry& sheet = kLabelChoices[6].sheet;  // 5163, 4 x 2 in
    struct Row {
        double x, y, scale;
        bool outline, cropMarks;
    };
    const Row rows[] = {
        {0.25, -0.375, 1, false, false},
        {0, 0, 0.9, false, false},
        {-0.1, 0.2, 1.02, true, false},
        {0, 0, 1, false, true},
    };
    for (const Row& row : rows) {
        const std::string what = "offset " + std::to_string(row.x) + "," + std::to_string(row.y) +
                                 " scale " + std::to_string(row.scale);
        SheetJob job = Job(BarCodeType::Type39, sheet, "5163", {"A1"});
        job.options.offsetX = row.x;
        job.options.offsetY = row.y;
        job.options.scale = row.scale;
        job.options.outline = row.outline;
        job.options.cropMarks = row.cropMarks;
        const QString pdf = dir.filePath(QStringLiteral("calibrated.pdf"));
        ASSERT_EQ(WriteLabelSheets(job, pdf.toStdString()).status, 0) << what;
        const QImage page = testing::RenderPdfPage(pdf, kDpi, 1);
        ASSERT_FALSE(page.isNull()) << what;
        const auto placed = [&](int l) {
            const LabelPlace place = PlaceOf(sheet, l);
            const QPointF c(kLetterWidth / 2, kLetterHeight / 2);
            const QPointF corner(sheet.x0 + place.column * sheet.dx,
                                 sheet.y0 + place.row * sheet.dy);
            const QPointF at = c + (corner - c) * row.scale + QPointF(row.x, row.y);
            return QRectF(at * kDpi, QSizeF(sheet.width, sheet.height) * row.scale * kDpi);
        };
        // The bar code of label 1 in the middle of the label where it was moved to.
        const QRectF first = placed(0);
        const QRect symbol = testing::InkIn(page, first.adjusted(20, 20, -20, -20).toAlignedRect());
        ASSERT_FALSE(symbol.isNull()) << what;
        EXPECT_NEAR((symbol.left() + symbol.right() + 1) / 2.0, first.center().x(), 3) << what;
        EXPECT_NEAR((symbol.top() + symbol.bottom() + 1) / 2.0, first.center().y(), 3) << what;
        // An empty label: its edges drawn in full, its corners only, or nothing. Its top half
        // only: the label below touches it.
        const QRectF last = placed(1);
        const QRect ink =
            testing::InkIn(page, last.adjusted(-5, -5, 5, -last.height() / 2).toAlignedRect());
        if (!row.outline && !row.cropMarks) {
            EXPECT_TRUE(ink.isNull()) << what;
            continue;
        }
        ASSERT_FALSE(ink.isNull()) << what;
        EXPECT_NEAR(ink.left(), last.left(), 2) << what;
        EXPECT_NEAR(ink.right() + 1, last.right(), 2) << what;
        EXPECT_NEAR(ink.top(), last.top(), 2) << what;
        const QRect midTop = testing::InkIn(
            page, QRectF(last.center().x() - 5, last.top() - 5, 10, 10).toAlignedRect());
        EXPECT_EQ(midTop.isNull(), row.cropMarks) << what;
    }
}

// The digits under UPC-A and EAN-13 bars copy and search as the digits, small ones included.
TEST(SheetPdf, DigitsUnderTheBarsAreTheirText) {
    if (!testing::HavePdfToPpm())
        GTEST_SKIP() << "poppler is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Row {
        BarCodeType type;
        std::string data, digits;
    };
    const Row rows[] = {
        {BarCodeType::TypeUPC, "03600029145", "036000291452"},
        {BarCodeType::TypeEAN13, "590123412345", "5901234123457"},
    };
    for (const Row& row : rows) {
        const SheetJob job = Job(row.type, kLabelChoices[6].sheet, "5163", {row.data});
        const QString pdf = dir.filePath(QStringLiteral("digits.pdf"));
        ASSERT_EQ(WriteLabelSheets(job, pdf.toStdString()).status, 0) << row.data;
        std::string text = PageText(pdf, 1);
        std::erase_if(text, [](char c) { return c == ' ' || c == '\n' || c == '\f'; });
        EXPECT_EQ(text, row.digits);
    }
}

// Labels go to the file as they are made, a PDF page by page and an RTF document likewise: a
// write that fails part way (here at the file size limit, as on a full disk) says so and leaves
// the file that was there as it was.
TEST(SheetPdf, WriteThatFailsPartWayLeavesTheOldFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::vector<std::string> data;
    for (int k = 0; k < 3000; ++k) data.push_back("S" + std::to_string(100000 + k));
    for (const SheetFormat format : {SheetFormat::Pdf, SheetFormat::Rtf}) {
        const QString file =
            dir.filePath(format == SheetFormat::Pdf ? QStringLiteral("labels.pdf")
                                                    : QStringLiteral("labels.rtf"));
        {
            QFile old(file);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        SheetJob job = Job(BarCodeType::Type39, kLabelChoices[2].sheet, "5160", data);
        job.options.format = format;
        struct rlimit saved {};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = saved;
        limit.rlim_cur = 64 * 1024;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        const WriteOutcome r = WriteLabelSheets(job, file.toStdString());
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        EXPECT_EQ(r.status, kExitIoError);
        EXPECT_EQ(r.message.rfind("cannot write " + file.toStdString() + ": ", 0), 0u) << r.message;
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("old"));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// The layout options on the command line: an alignment page from an empty list, and the values
// and combinations refused before anything is read or written.
TEST(SheetPdf, LayoutOptionsOnTheCommandLine) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Row {
        std::vector<std::string> options;
        std::string file;
        int status;
    };
    const Row rows[] = {
        {{"--outline", "--crop-marks"}, "align.pdf", kExitOk},
        {{}, "empty.pdf", kExitItemFailed},  // an empty list without guides
        {{"--outline"}, "a.rtf", kExitUsage},
        {{"--scale", "1.02"}, "a.rtf", kExitUsage},
        {{"--offset", "-0.2,0"}, "a.rtf", kExitUsage},  // the table off the paper
        {{"--offset", "1.5,0"}, "a.pdf", kExitUsage},
        {{"--offset", "0.1"}, "a.pdf", kExitUsage},
        {{"--scale", "0.5"}, "a.pdf", kExitUsage},
        {{"--fit", "all"}, "a.pdf", kExitUsage},
        {{"--fit", "each", "--size", "20"}, "a.pdf", kExitUsage},
    };
    const SheetWriter writer = [](const SheetJob& job, const std::string& file) {
        return WriteLabelSheets(job, file);
    };
    for (const Row& row : rows) {
        const std::string file = dir.filePath(QString::fromStdString(row.file)).toStdString();
        std::vector<std::string> args = {"--type", "39", "--sheet", "5160", "--output", file};
        args.insert(args.end(), row.options.begin(), row.options.end());
        const test::EncoderRun r = test::Encode(args, "", {}, writer);
        EXPECT_EQ(r.status, row.status) << row.file << ": " << r.err;
        EXPECT_EQ(QFile::exists(QString::fromStdString(file)), row.status == kExitOk) << row.file;
    }
}

TEST(SheetPdf, BarCodeThatDoesNotFitWritesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    // Sixteen characters of Code 3 of 9 need 2.4 in even at their smallest size.
    SheetJob job =
        Job(BarCodeType::Type39, kLabelChoices[0].sheet, "5167", {"SHORT", "ABCDEFGHIJKLMNOP"});
    const WriteOutcome r = WriteLabelSheets(job, pdf.toStdString());
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_EQ(r.message.rfind("line 2: the bar code does not fit a 1.75 x 0.50 in label", 0), 0u)
        << r.message;
    EXPECT_NE(r.message.find("sheets 5160, 5161"), std::string::npos) << r.message;
    EXPECT_FALSE(QFile::exists(pdf));
    // UPC-A on 5160 fits only with short bars: the refusal says so before it lists other sheets.
    job = Job(BarCodeType::TypeUPC, kLabelChoices[2].sheet, "5160", {"03600029145"});
    const WriteOutcome upc = WriteLabelSheets(job, pdf.toStdString());
    EXPECT_EQ(upc.status, kExitUsage);
    EXPECT_NE(upc.message.find("reliably; --height short fits, or sheets"), std::string::npos)
        << upc.message;
    EXPECT_FALSE(QFile::exists(pdf));
}

}  // namespace
}  // namespace sw
