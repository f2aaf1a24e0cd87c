#include "output/pdf_page.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

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

}  // namespace sw::testing
