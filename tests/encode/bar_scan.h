// Reads bar codes back out of a black-on-white picture: with zxing-cpp where it knows the
// symbology, and bar by bar for the ones that no decoder library reads.
#pragma once

#include <ZXing/BarcodeFormat.h>

#include <QImage>
#include <string>
#include <vector>

namespace sw::test {

struct BarRun {
    bool dark;
    int start;
    int width;
};

// All functions take a Format_Grayscale8 picture.

// The text zxing-cpp reads in the picture, upright and at its own size, as `format` (any
// format when None); "(unread: why)" when it reads nothing.
std::string Read(const QImage& grey, ZXing::BarcodeFormat format = ZXing::BarcodeFormat::None);

// The runs of dark and light pixels along row `y`, left to right.
std::vector<BarRun> RowRuns(const QImage& image, int y);

// Of sixteen rows spread over the picture, the one that crosses the most bars.
int BusiestRow(const QImage& image);

// The dark runs of a row, without the light ones.
std::vector<BarRun> Bars(const std::vector<BarRun>& runs);

// Top and bottom row (inclusive) of the dark pixels in column `x`, starting from row `y`
// inside the bar.
std::pair<int, int> ColumnExtent(const QImage& image, int x, int y);

bool IsDark(const QImage& image, int x, int y);

}  // namespace sw::test
