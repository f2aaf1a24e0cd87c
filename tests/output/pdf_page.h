// Prints the sample page into a PDF file through the real print surface, for tests that look at
// the printed result (rendered back with support/pdf_pixels.h).
#pragma once

#include <QString>

#include "output/sample_page.h"
#include "support/pdf_pixels.h"

namespace sw::testing {

// Prints at `dpi` on US Letter, with no margins, so device pixels count from the paper's
// corner. Returns the page's error text (empty on success).
QString PrintSamplePageToPdf(const SamplePageInput& input, const QString& pdfPath, int dpi);

}  // namespace sw::testing
