#define ZX_USE_UTF8 1
#include "bar_scan.h"

#include <ZXing/ReadBarcode.h>

namespace sw::test {

std::string Read(const QImage& grey, ZXing::BarcodeFormat format) {
    ZXing::DecodeHints hints;
    hints.setFormats(format);
    hints.setTryRotate(false);
    hints.setTryDownscale(false);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(),
                                ZXing::ImageFormat::Lum, static_cast<int>(grey.bytesPerLine()));
    const ZXing::Result r = ZXing::ReadBarcode(view, hints);
    return r.isValid() ? r.text() : "(unread: " + ZXing::ToString(r.error()) + ")";
}

bool IsDark(const QImage& image, int x, int y) {
    Q_ASSERT(image.format() == QImage::Format_Grayscale8);
    return image.constScanLine(y)[x] < 128;
}

std::vector<BarRun> RowRuns(const QImage& image, int y) {
    std::vector<BarRun> runs;
    for (int x = 0; x < image.width(); ++x) {
        const bool dark = IsDark(image, x, y);
        if (runs.empty() || runs.back().dark != dark) {
            runs.push_back({dark, x, 1});
        } else {
            ++runs.back().width;
        }
    }
    return runs;
}

std::vector<BarRun> Bars(const std::vector<BarRun>& runs) {
    std::vector<BarRun> bars;
    for (const BarRun& r : runs) {
        if (r.dark)
            bars.push_back(r);
    }
    return bars;
}

int BusiestRow(const QImage& image) {
    // Sixteen rows are plenty: bars are many pixels tall.
    int best = 0;
    std::size_t most = 0;
    for (int k = 1; k < 16; ++k) {
        const int y = image.height() * k / 16;
        const std::size_t n = Bars(RowRuns(image, y)).size();
        if (n > most) {
            most = n;
            best = y;
        }
    }
    return best;
}

std::pair<int, int> ColumnExtent(const QImage& image, int x, int y) {
    int top = y;
    int bottom = y;
    while (top > 0 && IsDark(image, x, top - 1)) --top;
    while (bottom + 1 < image.height() && IsDark(image, x, bottom + 1)) ++bottom;
    return {top, bottom};
}

}  // namespace sw::test
