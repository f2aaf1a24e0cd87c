#include "support/pdf_pixels.h"

#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <climits>

namespace sw::testing {

bool HavePdfToPpm() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

QImage RenderPdfPage(const QString& pdfPath, int dpi, int page) {
    const QString prefix = pdfPath + QStringLiteral("-%1").arg(page);
    QProcess process;
    process.start(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
         QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-f"),
         QString::number(page), QStringLiteral("-l"), QString::number(page), pdfPath, prefix});
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
