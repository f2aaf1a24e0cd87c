#include "encode/sheet_output.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

#include "barcode/make.h"
#include "barcode/text.h"
#include "drawing/label_guides.h"
#include "drawing/symbol_drawing.h"
#include "encode/encoder_options.h"
#include "encode/offscreen_application.h"
#include "output/label_rtf.h"
#include "platform/atomic_file.h"

namespace sw {
namespace {

// Nothing is printed closer to a label's edge than this: the die cut and the rounded corners.
constexpr double kInsetInches = 1.0 / 16;
constexpr int kPdfResolution = 7200;

// Writes the whole file through the hardened write, the path handed over byte for byte; a
// refusal says why.
WriteOutcome Written(const std::string& path, const QByteArray& bytes) {
    QString reason;
    if (!platform::WriteFileAtomically(QByteArray::fromStdString(path), bytes, &reason))
        return {kExitIoError, "cannot write " + path + ": " + reason.toStdString()};
    return {};
}

// The same, the content made piece by piece as it is written.
WriteOutcome WrittenInPieces(const std::string& path,
                             const std::function<bool(std::string&, bool&)>& pieces) {
    const platform::ContentProducer produce = [&](const platform::ContentSink& sink) {
        std::string piece;
        for (bool last = false; !last;) {
            if (!pieces(piece, last) || !sink(piece.data(), static_cast<qsizetype>(piece.size())))
                return false;
        }
        return true;
    };
    QString reason;
    if (!platform::WriteFileAtomically(QByteArray::fromStdString(path), produce, &reason))
        return {kExitIoError, "cannot write " + path + ": " + reason.toStdString()};
    return {};
}

std::string Number(double v, int decimals = 2) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

// The smallest size at which the face's narrowest bar is still as wide as the type's smallest
// module that scans reliably; a face of fixed size prints at its one size.
double SmallestScannablePoints(const drawing::FaceGlyphs& face, BarCodeType type) {
    const BarCodeTypeInfo& info = Info(type);
    if (info.fixedSize)
        return info.pointSize;
    const double points =
        info.smallestModule * 72 * face.unitsPerEm / drawing::NarrowestUnits(face);
    return std::ceil(points * 10 - 1e-9) / 10;  // in tenths, rounded up
}

double LargestPoints(BarCodeType type) {
    const BarCodeTypeInfo& info = Info(type);
    return info.fixedSize ? info.pointSize : kMaxPicturePoints;
}

// The plain type under the bar code, in points: small on small labels.
double TextPoints(const SheetGeometry& sheet) {
    return std::clamp(sheet.height * 72 * 0.16, 6.0, 10.0);
}
double TextLineInches(double points) {
    return points * 1.25 / 72;
}

// One label's bar code, sized: its point size and what it measures at that size.
struct SizedLabel {
    double points = 0;  // 0 for a label left empty
    QSizeF inches;      // the symbol, quiet zones included
    double shift = 0;   // inches to move it right so that its bars, not its margins, are centred
};

// How much wider the left margin of the symbol is than its right one, in layout units: glyphs
// may carry the space after them, which makes the right quiet zone a little wider.
double MarginImbalance(const drawing::SymbolLayout& layout) {
    if (layout.inkLeft > layout.inkRight)
        return 0;
    return layout.inkLeft - (layout.size.width() - layout.inkRight);
}

std::string SheetsThatFit(double width, double height) {
    std::string list;
    int count = 0;
    for (std::size_t i = 0; i < kSheetCount; ++i) {
        const SheetGeometry& s = kLabelChoices[i].sheet;
        if (s.width + 1e-9 >= width && s.height + 1e-9 >= height) {
            list += count++ == 0 ? "" : ", ";
            list += kLabelChoices[i].stockNumber;
        }
    }
    const std::string custom =
        "a custom sheet with labels of at least " + Number(width) + " x " + Number(height) + " in";
    if (count == 0)
        return custom + " would do";
    return (count == 1 ? "sheet " : "sheets ") + list + " or " + custom + " would do";
}

// The label as the label dialog names it ("2.625 x 1.00 in label of sheet 5160").
std::string LabelName(const SheetOptions& o) {
    for (std::size_t i = 0; i < kSheetCount; ++i) {
        if (o.sheetName == kLabelChoices[i].stockNumber) {
            return std::string(kLabelChoices[i].size) + " in label of sheet " + o.sheetName;
        }
    }
    return Number(o.sheet.width) + " x " + Number(o.sheet.height) + " in label";
}

// What an item's bar code measures per point of size, and the largest size its label takes.
struct Measured {
    QSizeF perPoint;       // inches, centring included
    double imbalance = 0;  // inches per point
    double fit = 0;        // points
};

// How the labels of a job are sized: the room on a label, and the one size of the job when
// every label takes the same.
class Sizing {
  public:
    Sizing(const SheetJob& job, const drawing::FaceGlyphs& face)
        : job_(job),
          face_(face),
          text_(job.options.text ? TextLineInches(TextPoints(job.options.sheet)) : 0),
          smallest_(SmallestScannablePoints(face, job.type)),
          outlineFont_(drawing::OutlineFont(face)) {}

    // Checks that every item fits, counts the labels and settles the job's one size; on
    // failure says which item does not fit and what would, or that the list could not be read.
    bool Settle(std::string& error) {
        const SheetOptions& o = job_.options;
        SheetItems items(job_);
        SheetItem item;
        std::optional<SheetItem> tightest;
        double tightestFit = 0;
        labels_ = 0;
        for (;;) {
            int copies = 0;
            bool done = false;
            if (!items.Next(item, copies, done)) {
                readFailed_ = true;
                return false;
            }
            if (done)
                break;
            labels_ += copies;
            if (item.fontString.empty())
                continue;
            const Measured m = Measure(item);
            if (o.points > 0 || o.fitEach) {
                if (!Points(item, m, &error))
                    return false;
            } else if (!tightest || m.fit < tightestFit) {
                tightest = item;
                tightestFit = m.fit;
            }
        }
        if (tightest) {
            // The longest item sets the size of every label.
            const std::optional<double> points = Points(*tightest, Measure(*tightest), &error);
            if (!points)
                return false;
            jobPoints_ = *points;
        }
        return true;
    }

    // Whether Settle failed because the list could not be read.
    bool ReadFailed() const { return readFailed_; }

    // The labels of the items, each counted once whatever --copies says.
    long long Labels() const { return labels_; }

    // The item's label, sized; an item that did not encode gets an empty one.
    SizedLabel Size(const SheetItem& item) const {
        if (item.fontString.empty())
            return {};
        const Measured m = Measure(item);
        const double points = jobPoints_ > 0 ? jobPoints_ : Points(item, m, nullptr).value_or(0);
        return {points,
                QSizeF(m.perPoint.width() - std::abs(m.imbalance), m.perPoint.height()) * points,
                -m.imbalance / 2 * points};
    }

  private:
    Measured Measure(const SheetItem& item) const {
        const SheetOptions& o = job_.options;
        const drawing::SymbolLayout layout = drawing::ExactLayout(
            face_, AloneWithQuietZones(job_.type, item.fontString), outlineFont_);
        const double perUnit = 1.0 / face_.unitsPerEm / 72;  // inches per layout unit at 1 point
        const double imbalance = MarginImbalance(layout) * perUnit;
        // Centring the bars widens the symbol by the difference of its margins.
        const QSizeF perPoint(layout.size.width() * perUnit + std::abs(imbalance),
                              layout.size.height() * perUnit);
        const double roomW = o.sheet.width - 2 * kInsetInches;
        const double roomH = o.sheet.height - 2 * kInsetInches - text_;
        const double fit =
            std::max(0.0, std::min(roomW / perPoint.width(), roomH / perPoint.height()));
        return {perPoint, imbalance, fit};
    }

    // The item's size at its largest (or --size); nothing when it does not fit, and then why
    // in `error` when asked.
    std::optional<double> Points(const SheetItem& item, const Measured& m,
                                 std::string* error) const {
        const SheetOptions& o = job_.options;
        const double fit = m.fit;
        if (o.points > 0) {
            if (o.points <= fit + 1e-9)
                return o.points;
        } else if (fit >= smallest_) {
            const double points = std::min(std::floor(fit * 10) / 10, LargestPoints(job_.type));
            return std::max(points, smallest_);
        }
        if (error == nullptr)
            return std::nullopt;
        const QSizeF perPoint = m.perPoint;
        const std::string line = "line " + std::to_string(item.line) + ": ";
        const auto needs = [&](double points) {
            return SheetsThatFit(perPoint.width() * points + 2 * kInsetInches,
                                 perPoint.height() * points + 2 * kInsetInches + text_);
        };
        const std::string label = LabelName(o);
        const std::string shorter = ShortBarsFit() ? "--height short fits, or " : "";
        if (o.points > 0) {
            *error = line + "at " + Number(o.points, 1) + " points the bar code is " +
                     Number(perPoint.width() * o.points) + " x " +
                     Number(perPoint.height() * o.points) +
                     " in with its quiet zones, more than a " + label + " holds; " + shorter +
                     (fit >= smallest_ ? "--size " + Number(std::floor(fit * 10) / 10, 1) +
                                             " or less would do, or " + needs(o.points)
                                       : needs(o.points));
        } else {
            *error = line + "the bar code does not fit a " + label + " even at " +
                     Number(smallest_, 1) + " points, the smallest size that scans reliably; " +
                     shorter + needs(smallest_);
        }
        return std::nullopt;
    }

    // Whether the job fits as it is with the type's short bars, when it asks for taller ones.
    bool ShortBarsFit() const {
        if (job_.options.height == BarHeight::Short)
            return false;
        const drawing::FaceGlyphs* shortFace =
            drawing::FindFaceGlyphs(FaceName(job_.type, BarHeight::Short));
        if (shortFace == nullptr || shortFace == &face_)
            return false;
        SheetJob shorter{job_.type, job_.options, {}, {}};
        shorter.options.height = BarHeight::Short;
        Sizing sizing(shorter, *shortFace);
        SheetItems items(job_);
        SheetItem item;
        for (;;) {
            int copies = 0;
            bool done = false;
            if (!items.Next(item, copies, done))
                return false;
            if (done)
                return true;
            if (!item.fontString.empty() && !sizing.Points(item, sizing.Measure(item), nullptr))
                return false;
        }
    }

    const SheetJob& job_;
    const drawing::FaceGlyphs& face_;
    double text_;           // inches of the text line under the bar code
    double smallest_;       // points
    double jobPoints_ = 0;  // the size of every label; 0 when each has its own
    long long labels_ = 0;
    bool readFailed_ = false;
    // Outlines placed as glyphs rather than laid out as curves: measuring needs only their
    // extent.
    QRawFont outlineFont_;
};

// The printer's calibration as a transformation of the page (in units of `k` per inch): scaled
// about the page's centre, then moved.
QTransform Calibration(const SheetOptions& o, double k) {
    const QPointF centre(o.paper.width * k / 2, o.paper.height * k / 2);
    QTransform t;
    t.translate(centre.x() + o.offsetX * k, centre.y() + o.offsetY * k);
    t.scale(o.scale, o.scale);
    t.translate(-centre.x(), -centre.y());
    return t;
}

// The outline and the corner marks of every label of the page, as asked.
void PaintGuides(QPainter& painter, const SheetOptions& o, double k) {
    if (!o.outline && !o.cropMarks)
        return;
    constexpr double kLineInches = 0.5 / 72;
    constexpr double kMarkInches = 0.125;
    for (int l = 0; l < o.sheet.Labels(); ++l) {
        const LabelPlace place = PlaceOf(o.sheet, l);
        const QRectF r((o.sheet.x0 + place.column * o.sheet.dx) * k,
                       (o.sheet.y0 + place.row * o.sheet.dy) * k, o.sheet.width * k,
                       o.sheet.height * k);
        if (o.outline)
            drawing::PaintLabelOutline(painter, r, kLineInches * k);
        if (o.cropMarks)
            drawing::PaintCornerMarks(painter, r, kMarkInches * k, kLineInches * k);
    }
}

// A device that hands what is written to it on to the hardened writer, a piece at a time, so
// that a document of any length is never held whole.
class SinkDevice : public QIODevice {
  public:
    explicit SinkDevice(const platform::ContentSink& sink) : sink_(sink) {
        open(QIODevice::WriteOnly);
    }
    bool isSequential() const override { return true; }

    // Hands on what is left; false when any of it could not be written.
    bool Finish() {
        if (!failed_ && !pending_.isEmpty())
            failed_ = !sink_(pending_.constData(), pending_.size());
        pending_.clear();
        return !failed_;
    }
    bool Failed() const { return failed_; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (failed_)
            return -1;
        pending_.append(data, size);
        if (pending_.size() >= kPiece) {
            failed_ = !sink_(pending_.constData(), pending_.size());
            pending_.clear();
        }
        return failed_ ? -1 : size;
    }

  private:
    static constexpr qsizetype kPiece = 1 << 20;
    const platform::ContentSink& sink_;
    QByteArray pending_;
    bool failed_ = false;
};

// Draws the labels page by page into `device`; false when the document could not be made.
bool Pdf(const SheetJob& job, const drawing::FaceGlyphs& face, const Sizing& sizing,
         QIODevice& device) {
    const SheetOptions& o = job.options;
    QPdfWriter pdf(&device);
    pdf.setCreator(QStringLiteral("stripewright-encode"));
    pdf.setTitle(QStringLiteral("Labels"));
    pdf.setResolution(kPdfResolution);
    const QPageSize size = o.paper.name == kA4Paper.name
                               ? QPageSize(QPageSize::A4)
                               : QPageSize(QSizeF(o.paper.width, o.paper.height), QPageSize::Inch,
                                           QString(), QPageSize::ExactMatch);
    pdf.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
    QPainter painter(&pdf);
    if (!painter.isActive())
        return {};
    const double k = kPdfResolution;
    const double textPoints = TextPoints(o.sheet);
    const double textLine = o.text ? TextLineInches(textPoints) : 0;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(textPoints);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &pdf);
    const double textRoom = (o.sheet.width - 2 * kInsetInches) * k;

    // Outlines (the digits under UPC-A bars) are drawn as text in a face embedded once: written
    // curve by curve, they made each label about 26 KB.
    const QRawFont outlineFont = drawing::OutlineFont(face);
    const QTransform calibration = Calibration(o, k);
    const auto startPage = [&] {
        painter.setTransform(calibration);
        PaintGuides(painter, o, k);
    };
    startPage();
    int page = 0;
    long long slot = o.firstLabel - 1;
    drawing::SymbolLayout symbol;
    SizedLabel label;
    SheetItems items(job);
    SheetItem item;
    for (;;) {
        int own = 0;
        bool done = false;
        if (!items.Next(item, own, done))
            return false;
        if (done)
            break;
        const long long copies = static_cast<long long>(own) * o.copies;
        for (long long c = 0; c < copies; ++c, ++slot) {
            const LabelPlace place = PlaceOf(o.sheet, slot);
            while (page < place.page) {
                if (!pdf.newPage())
                    return {};
                ++page;
                startPage();
            }
            if (c == 0) {
                label = sizing.Size(item);
                if (label.points > 0)
                    symbol = drawing::ExactLayout(
                        face, AloneWithQuietZones(job.type, item.fontString), outlineFont);
            }
            if (label.points == 0)
                continue;  // skipped: the label stays empty
            const double left = o.sheet.x0 + place.column * o.sheet.dx;
            const double top = o.sheet.y0 + place.row * o.sheet.dy;
            const double blockTop = top + (o.sheet.height - label.inches.height() - textLine) / 2;
            const QRectF target(
                (left + (o.sheet.width - label.inches.width()) / 2 + label.shift) * k, blockTop * k,
                label.inches.width() * k, label.inches.height() * k);
            drawing::PaintSymbol(painter, symbol, target);
            if (o.text) {
                const QString data =
                    metrics.elidedText(QString::fromStdString(item.data), Qt::ElideRight, textRoom);
                painter.drawText(
                    QRectF((left + kInsetInches) * k, (blockTop + label.inches.height()) * k,
                           textRoom, textLine * k),
                    Qt::AlignHCenter | Qt::AlignTop, data);
            }
        }
    }
    // A job that starts late or ends early still fills its last page.
    return painter.end();
}

// Text in a Windows-1252 RTF document: the font string's characters are all in that set;
// anything else goes as a Unicode escape.
std::string RtfText(std::u32string_view text) {
    std::string out;
    for (char32_t c : text) {
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (c >= 0xA0 && c <= 0xFF) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\'%02x", static_cast<unsigned>(c));
            out += buf;
        } else if (c < 0x20) {
            out += ' ';
        } else {
            const long v = c <= 0x7FFF ? static_cast<long>(c) : static_cast<long>(c) - 0x10000;
            if (c > 0xFFFF) {
                out += "?";  // beyond one RTF Unicode escape
            } else {
                out += "\\u" + std::to_string(v) + "?";
            }
        }
    }
    return out;
}

// The filled template; with `flush`, handed over page by page (see FilledSheet). `read` turns
// false when the list could not be read again as it was.
std::string Rtf(const SheetJob& job, const Sizing& sizing, bool& read,
                const std::function<bool(std::string&)>& flush = {}) {
    const SheetOptions& o = job.options;
    const long long first = o.firstLabel - 1;
    const long long count = sizing.Labels() * o.copies;
    FilledSheet fill;
    fill.title = "Labels " + o.sheetName;
    fill.paperWidth = o.paper.width;
    fill.paperHeight = o.paper.height;
    const std::string face(FaceName(job.type, o.height));
    fill.fonts = "{\\f1\\fnil\\fcharset0 " + face + ";}";
    fill.pages = (first + count + o.sheet.Labels() - 1) / o.sheet.Labels();
    fill.flush = flush;
    const int textHalfPoints = static_cast<int>(std::lround(TextPoints(o.sheet) * 2));
    // The labels are asked for in order: the item at hand and its labels still to fill.
    SheetItems items(job);
    SheetItem item;
    SizedLabel s;
    long long left = 0;
    fill.label = [&](long long label) -> std::string {
        const long long k = label - first;
        if (k < 0 || k >= count || !read)
            return {};
        while (left <= 0) {
            int own = 0;
            bool done = false;
            if (!items.Next(item, own, done) || done) {
                read = false;
                return {};
            }
            left = static_cast<long long>(own) * o.copies;
            s = sizing.Size(item);
        }
        --left;
        if (s.points == 0)
            return {};
        // Half points, rounded down so that the bar code still fits.
        const int halfPoints = static_cast<int>(std::floor(s.points * 2 + 1e-9));
        std::string cell = "{\\f1\\fs" + std::to_string(halfPoints) + " " +
                           RtfText(AloneWithQuietZones(job.type, item.fontString)) + "}";
        if (o.text) {
            cell += "\\par{\\f0\\fs" + std::to_string(textHalfPoints) + " " +
                    RtfText(DecodeUtf8(item.data)) + "}";
        }
        return cell;
    };
    // The word processor prints the page as it is: the offset moves the table.
    SheetGeometry placed = o.sheet;
    placed.x0 = std::max(0.0, placed.x0 + o.offsetX);
    placed.y0 = std::max(0.0, placed.y0 + o.offsetY);
    std::string tail = FilledSheetRtf(placed, fill);
    // Nothing may follow the labels counted.
    int own = 0;
    bool done = false;
    if (read && (!items.Next(item, own, done) || !done))
        read = false;
    return tail;
}

}  // namespace

WriteOutcome WriteLabelSheets(const SheetJob& job, const std::string& file) {
    if (job.csvPieces)
        return WrittenInPieces(file, job.csvPieces);
    if (!job.csv.empty()) {
        // The CSV can be large: it is written from where it lies, not copied.
        return Written(
            file, QByteArray::fromRawData(job.csv.data(), static_cast<qsizetype>(job.csv.size())));
    }
    const std::unique_ptr<QGuiApplication> app = StartOffscreenApplication();
    const std::string_view faceName = FaceName(job.type, job.options.height);
    const drawing::FaceGlyphs* face = drawing::FindFaceGlyphs(faceName);
    if (face == nullptr)
        return {kExitUsage, "the bar code face \"" + std::string(faceName) + "\" is not known"};
    Sizing sizing(job, *face);
    std::string error;
    if (!sizing.Settle(error)) {
        if (sizing.ReadFailed())
            return {kExitIoError, "cannot read the input; nothing was written"};
        return {kExitUsage, error + "; nothing was written"};
    }
    if (job.options.format == SheetFormat::Rtf) {
        // Written as it is made, page by page.
        QString reason;
        const auto produce = [&](const platform::ContentSink& sink) {
            bool written = true;
            const auto flush = [&](std::string& text) {
                written = sink(text.data(), static_cast<qsizetype>(text.size()));
                text.clear();
                return written;
            };
            bool read = true;
            const std::string tail = Rtf(job, sizing, read, flush);
            return written && read && sink(tail.data(), static_cast<qsizetype>(tail.size()));
        };
        if (!platform::WriteFileAtomically(QByteArray::fromStdString(file), produce, &reason))
            return {kExitIoError, "cannot write " + file + ": " + reason.toStdString()};
        return {};
    }
    // The document goes to the file as it is drawn, page by page.
    bool made = true;
    QString reason;
    const auto produce = [&](const platform::ContentSink& sink) {
        SinkDevice device(sink);
        made = Pdf(job, *face, sizing, device) || device.Failed();
        return device.Finish() && made;
    };
    if (!platform::WriteFileAtomically(QByteArray::fromStdString(file), produce, &reason)) {
        if (!made)
            return {kExitIoError, "cannot make the PDF document"};
        return {kExitIoError, "cannot write " + file + ": " + reason.toStdString()};
    }
    return {};
}

}  // namespace sw
