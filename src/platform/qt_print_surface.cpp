#include "platform/qt_print_surface.h"

#include <QAbstractPrintDialog>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QPrintDialog>

namespace sw::platform {

QtPrintSurface::QtPrintSurface(QPrinter& printer) : printer_(printer) {}

QtPrintSurface::~QtPrintSurface() {
    // A document left open (an exception on the way) is closed rather than left dangling.
    if (painter_.isActive())
        painter_.end();
}

int QtPrintSurface::ResolutionX() const {
    return printer_.logicalDpiX();
}

int QtPrintSurface::ResolutionY() const {
    return printer_.logicalDpiY();
}

void QtPrintSurface::SetTitle(const QString& title) {
    printer_.setDocName(title);
}

bool QtPrintSurface::BeginDocument() {
    error_.clear();
    if (painter_.isActive())
        return true;
    if (!painter_.begin(&printer_)) {
        if (printer_.outputFormat() == QPrinter::PdfFormat) {
            error_ = QStringLiteral("Unable to write to %1")
                         .arg(QDir::toNativeSeparators(printer_.outputFileName()));
        } else {
            error_ = QStringLiteral("Unable to start printing on %1").arg(printer_.printerName());
        }
        return false;
    }
    painter_.setPen(Qt::black);
    return true;
}

void QtPrintSurface::DrawText(int x, int y, const QString& face, int pointSize,
                              const QString& text) {
    if (!painter_.isActive() || pointSize <= 0)
        return;
    QFont font(face);
    font.setPointSize(pointSize);
    // Bar code characters must stand exactly where their advances put them.
    font.setKerning(false);
    painter_.setFont(font);
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    painter_.drawText(QPointF(x, y + metrics.ascent()), text);
}

bool QtPrintSurface::EndDocument() {
    if (!painter_.isActive()) {
        if (error_.isEmpty())
            error_ = QStringLiteral("The print job was not started");
        return false;
    }
    const bool ended = painter_.end();
    if (!ended || printer_.printerState() == QPrinter::Error) {
        error_ =
            printer_.outputFormat() == QPrinter::PdfFormat
                ? QStringLiteral("Unable to write to %1")
                      .arg(QDir::toNativeSeparators(printer_.outputFileName()))
                : QStringLiteral("The printer %1 reported an error").arg(printer_.printerName());
        return false;
    }
    return true;
}

QtPrintDialog::QtPrintDialog() : printer_(QPrinter::HighResolution) {}

QtPrintDialog::~QtPrintDialog() = default;

std::unique_ptr<PrintSurface> QtPrintDialog::Execute(QWidget* owner) {
    QPrintDialog dialog(&printer_, owner);
    // One page, no selection: page ranges mean nothing here.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return std::make_unique<QtPrintSurface>(printer_);
}

}  // namespace sw::platform
