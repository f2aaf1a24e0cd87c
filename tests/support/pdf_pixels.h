// Renders a PDF page back into pixels with pdftoppm, and finds the ink on it, for tests that
// look at a printed or written page.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

namespace sw::testing {

// True when pdftoppm can be run.
bool HavePdfToPpm();

// Page `page` (from 1) at `dpi`, in grey; a null image when rendering failed.
QImage RenderPdfPage(const QString& pdfPath, int dpi, int page = 1);

// The bounding box of the dark pixels inside `region`; empty when there are none.
QRect InkIn(const QImage& page, const QRect& region);

}  // namespace sw::testing
