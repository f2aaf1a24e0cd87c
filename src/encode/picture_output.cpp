#include "encode/picture_output.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImageWriter>
#include <cmath>
#include <cstdio>
#include <memory>

#include "drawing/symbol_drawing.h"
#include "encode/offscreen_application.h"
#include "platform/atomic_file.h"

namespace sw {
namespace {

// The PDF format puts no page over 200 inches on a side.
constexpr double kMaxPdfSidePoints = 200 * 72;

const drawing::FaceGlyphs* FaceOf(const PictureRequest& request, std::string* error) {
    const std::string_view face = FaceName(request.type, request.height);
    const drawing::FaceGlyphs* glyphs = drawing::FindFaceGlyphs(face);
    if (glyphs == nullptr)
        *error = "the bar code face \"" + std::string(face) + "\" is not known";
    return glyphs;
}

// The picture in the request's format; empty with `error` set when it cannot be drawn.
QByteArray Document(const PictureRequest& request, std::string* error) {
    if (request.format == PictureFormat::Png) {
        QString why;
        const QImage image = RenderBarcode(request, &why);
        if (image.isNull()) {
            *error = why.toStdString();
            return {};
        }
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(image)) {
            *error = "cannot make the PNG picture: " + writer.errorString().toStdString();
            return {};
        }
        return buffer.data();
    }
    const drawing::FaceGlyphs* face = FaceOf(request, error);
    if (face == nullptr)
        return {};
    const drawing::SymbolLayout layout = drawing::ExactLayout(*face, request.fontString);
    if (request.format == PictureFormat::Svg)
        return drawing::SvgDocument(*face, layout, request.points);
    const QSizeF size = drawing::SizeInPoints(*face, layout, request.points);
    if (size.width() > kMaxPdfSidePoints || size.height() > kMaxPdfSidePoints) {
        *error = "the PDF page would be " + std::to_string(std::lround(size.width() / 72)) + " x " +
                 std::to_string(std::lround(size.height() / 72)) +
                 " inches, more than 200 on a side";
        return {};
    }
    const QByteArray pdf = drawing::PdfDocument(*face, layout, request.points);
    if (pdf.isEmpty())
        *error = "cannot make the PDF document";
    return pdf;
}

}  // namespace

QImage RenderBarcode(const PictureRequest& request, QString* error) {
    QString ignored;
    if (error == nullptr)
        error = &ignored;
    std::string why;
    const drawing::FaceGlyphs* face = FaceOf(request, &why);
    if (face == nullptr) {
        *error = QString::fromStdString(why);
        return {};
    }
    const std::optional<drawing::SymbolLayout> layout =
        drawing::GridLayout(*face, request.fontString, request.points, request.dpi, &why);
    if (!layout) {
        *error = QString::fromStdString(why);
        return {};
    }
    const double width = layout->size.width();
    const double height = layout->size.height();
    if (width > kMaxPngSide || height > kMaxPngSide) {
        *error = QStringLiteral("the picture would be %1 x %2 pixels, more than %3 on a side")
                     .arg(width)
                     .arg(height)
                     .arg(kMaxPngSide);
        return {};
    }
    return drawing::RasterImage(*layout, request.dpi);
}

WriteOutcome WriteBarcodePicture(const PictureRequest& request, const std::string& file) {
    const std::unique_ptr<QGuiApplication> app = StartOffscreenApplication();
    std::string error;
    const QByteArray bytes = Document(request, &error);
    if (!error.empty())
        return {kExitIoError, error};
    if (file == "-") {
        const auto size = static_cast<std::size_t>(bytes.size());
        if (std::fwrite(bytes.constData(), 1, size, stdout) != size || std::fflush(stdout) != 0)
            return {kExitIoError, "cannot write the picture to standard output"};
        return {};
    }
    QString reason;
    if (!platform::WriteFileAtomically(QString::fromStdString(file), bytes, &reason))
        return {kExitIoError, "cannot write " + file + ": " + reason.toStdString()};
    return {};
}

}  // namespace sw
