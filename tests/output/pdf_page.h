// Prints the sample page into a PDF file through the real print surface, and renders a PDF
// page back into pixels with pdftoppm, for tests that look at the printed result.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include "output/sample_page.h"

namespace sw::testing {

// Prints at `dpi` on US Letter, with no margins, so device pixels count from the paper's
// corner. Returns the page's error text (empty on success).
QString PrintSamplePageToPdf(const SamplePageInput& input, const QString& pdfPath, int dpi);

// True when pdftoppm can be run.
bool HavePdfToPpm();

// The first page at `dpi`, in grey; a null image when rendering failed.
QImage RenderPdfPage(const QString& pdfPath, int dpi);

// The bounding box of the dark pixels inside `region`; empty when there are none.
QRect InkIn(const QImage& page, const QRect& region);

}  // namespace sw::testing
