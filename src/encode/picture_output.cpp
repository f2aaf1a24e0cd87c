#include "encode/picture_output.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImageWriter>
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>

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

// The picture in the request's format; empty with `failure` set when it cannot be made.
QByteArray Document(const PictureRequest& request, WriteOutcome* failure) {
    if (request.format == PictureFormat::Png) {
        QString why;
        int status = kExitIoError;
        const QImage image = RenderBarcode(request, &why, &status);
        if (image.isNull()) {
            *failure = {status, why.toStdString()};
            return {};
        }
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(image)) {
            *failure = {kExitIoError,
                        "cannot make the PNG picture: " + writer.errorString().toStdString()};
            return {};
        }
        return buffer.data();
    }
    std::string error;
    const drawing::FaceGlyphs* face = FaceOf(request, &error);
    if (face == nullptr) {
        *failure = {kExitIoError, error};
        return {};
    }
    const drawing::SymbolLayout layout = drawing::ExactLayout(*face, request.fontString);
    if (request.format == PictureFormat::Svg)
        return drawing::SvgDocument(*face, layout, request.points);
    const QSizeF size = drawing::SizeInPoints(*face, layout, request.points);
    if (size.width() > kMaxPdfSidePoints || size.height() > kMaxPdfSidePoints) {
        *failure = {kExitUsage, "the PDF page would be " +
                                    std::to_string(std::lround(size.width() / 72)) + " x " +
                                    std::to_string(std::lround(size.height() / 72)) +
                                    " inches, more than 200 on a side"};
        return {};
    }
    const QByteArray pdf = drawing::PdfDocument(*face, layout, request.points);
    if (pdf.isEmpty())
        *failure = {kExitIoError, "cannot make the PDF document"};
    return pdf;
}

}  // namespace

QImage RenderBarcode(const PictureRequest& request, QString* error, int* status) {
    QString ignoredError;
    int ignoredStatus = 0;
    if (error == nullptr)
        error = &ignoredError;
    if (status == nullptr)
        status = &ignoredStatus;
    *status = kExitUsage;
    std::string why;
    const drawing::FaceGlyphs* face = FaceOf(request, &why);
    if (face == nullptr) {
        *error = QString::fromStdString(why);
        *status = kExitIoError;
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
    if (width * height > double(kMaxPngPixels)) {
        *error = QStringLiteral(
                     "the picture would be %1 x %2 pixels, more than the %3 million a PNG picture "
                     "may have; a smaller --size or --dpi fits")
                     .arg(width)
                     .arg(height)
                     .arg(kMaxPngPixels / 1'000'000);
        return {};
    }
    QImage image = drawing::RasterImage(*layout, request.dpi);
    if (image.isNull()) {
        *error = QStringLiteral("not enough memory for a picture of %1 x %2 pixels")
                     .arg(width)
                     .arg(height);
        *status = kExitIoError;
    }
    return image;
}

WriteOutcome WriteBarcodePicture(const PictureRequest& request, const std::string& file) {
    try {
        const std::unique_ptr<QGuiApplication> app = StartOffscreenApplication();
        WriteOutcome failure;
        const QByteArray bytes = Document(request, &failure);
        if (!failure.ok())
            return failure;
        if (bytes.isEmpty())  // never an empty file in place of a picture
            return {kExitIoError, "cannot make the picture; nothing was written"};
        if (file == "-") {
            const auto size = static_cast<std::size_t>(bytes.size());
            if (std::fwrite(bytes.constData(), 1, size, stdout) != size || std::fflush(stdout) != 0)
                return {kExitIoError, "cannot write the picture to standard output"};
            return {};
        }
        QString reason;
        if (!platform::WriteFileAtomically(QByteArray::fromStdString(file), bytes, &reason))
            return {kExitIoError, "cannot write " + file + ": " + reason.toStdString()};
        return {};
    } catch (const std::bad_alloc&) {
        return {kExitIoError, "not enough memory for the picture; nothing was written"};
    }
}

}  // namespace sw
