#include "output/pdf_page.h"

#include <QImageReader>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include "platform/qt_print_surface.h"

namespace sw::testing {

QString PrintSamplePageToPdf(const SamplePageInput& input, const QString& pdfPath, int dpi) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printer.setResolution(dpi);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    printer.setFullPage(true);
    platform::QtPrintSurface surface(printer);
    return PrintSamplePage(surface, input);
}

bool HavePdfToPpm() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

QImage RenderPdfPage(const QString& pdfPath, int dpi) {
    const QString prefix = pdfPath + QStringLiteral("-page");
    QProcess process;
    process.start(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
         QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-f"),
         QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), pdfPath, prefix});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return {};
    // A Letter page at 600 dpi is beyond the image reader's default allocation limit.
    QImageReader reader(prefix + QStringLiteral(".png"));
    reader.setAllocationLimit(1024);
    return reader.read().convertToFormat(QImage::Format_Grayscale8);
}

QRect InkIn(const QImage& page, const QRect& region) {
    const QRect area = region.intersected(page.rect());
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* line = page.constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x) {
            if (line[x] < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace sw::testing
