#include "encode/png_output.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <cmath>
#include <cstdio>
#include <memory>

#include "barcode/text.h"
#include "fonts/barcode_fonts.h"

namespace sw {
namespace {

constexpr double kSideMargin = 0.4;  // em
constexpr double kTopMargin = 0.1;   // em

QString FromView(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

int DotsPerMeter(int dpi) {
    return static_cast<int>(std::lround(dpi / 0.0254));
}

// Qt's own notes (a missing runtime folder, no session bus) mean nothing to a user of a
// command-line tool; failures reach the user through the returned error instead.
void QuietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
}

}  // namespace

QImage RenderBarcode(const PngRequest& request, QString* error) {
    QString ignored;
    if (error == nullptr)
        error = &ignored;
    const QString face = FromView(FaceName(request.type, request.height));
    if (!RegisterBarcodeFonts()) {
        *error = QStringLiteral("the bar code fonts could not be loaded");
        return {};
    }
    QFont font(face);
    font.setPointSizeF(request.points);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);

    // Point sizes are converted with the resolution of the device painted on, so the picture
    // carries the requested resolution from the start.
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(DotsPerMeter(request.dpi));
    probe.setDotsPerMeterY(DotsPerMeter(request.dpi));
    const QFontInfo info(font);
    if (info.family() != face) {
        *error = QStringLiteral("the bar code font \"%1\" is not available").arg(face);
        return {};
    }
    const QString text = QString::fromStdString(EncodeUtf8(request.fontString));
    const QFontMetricsF metrics(font, &probe);
    const double em = request.points * request.dpi / 72.0;
    const double side = std::ceil(kSideMargin * em);
    const double top = std::ceil(kTopMargin * em);
    const double width = std::ceil(metrics.horizontalAdvance(text)) + 2 * side;
    const double height = std::ceil(metrics.ascent() + metrics.descent()) + 2 * top;
    if (width > kMaxPngSide || height > kMaxPngSide) {
        *error = QStringLiteral("the picture would be %1 x %2 pixels, more than %3 on a side")
                     .arg(width)
                     .arg(height)
                     .arg(kMaxPngSide);
        return {};
    }

    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    image.setDotsPerMeterX(DotsPerMeter(request.dpi));
    image.setDotsPerMeterY(DotsPerMeter(request.dpi));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(side, top + metrics.ascent()), text);
    }
    QImage mono = image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    mono.setDotsPerMeterX(image.dotsPerMeterX());
    mono.setDotsPerMeterY(image.dotsPerMeterY());
    return mono;
}

std::string WriteBarcodePng(const PngRequest& request, const std::string& file) {
    std::unique_ptr<QGuiApplication> app;
    if (QCoreApplication::instance() == nullptr) {
        // No display is needed or wanted: draw off screen whatever the environment says.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QuietQtNotes);
        static int argc = 1;
        static char name[] = "stripewright-encode";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    QString error;
    const QImage image = RenderBarcode(request, &error);
    if (image.isNull())
        return error.toStdString();

    const QString path = QString::fromStdString(file);
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        return "cannot write " + file + ": " + out.errorString().toStdString();
    }
    QImageWriter writer(&out, "png");
    if (!writer.write(image)) {
        out.cancelWriting();
        return "cannot write " + file + ": " + writer.errorString().toStdString();
    }
    if (!out.commit())
        return "cannot write " + file + ": " + out.errorString().toStdString();
    return {};
}

}  // namespace sw
