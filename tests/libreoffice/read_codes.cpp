// Prints what the project's zxing reader reads on each page of a PDF file, one line a page, for
// the LibreOffice tests, which run on Python and use the reader from outside.
//
//   sw_read_codes FILE.pdf DPI PAGES
#include <cstdio>
#include <string>

#include "encode/bar_scan.h"
#include "support/pdf_pixels.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: sw_read_codes FILE.pdf DPI PAGES\n");
        return 2;
    }
    const QString pdf = QString::fromLocal8Bit(argv[1]);
    const int dpi = std::stoi(argv[2]);
    const int pages = std::stoi(argv[3]);
    for (int page = 1; page <= pages; ++page) {
        const QImage grey = sw::testing::RenderPdfPage(pdf, dpi, page);
        std::printf("%s\n", grey.isNull() ? "(no page)" : sw::test::Read(grey).c_str());
    }
    return 0;
}
