// Pictures of bar codes: a font string drawn from its face's glyphs as a PNG picture on the
// pixel grid, or as SVG or PDF vectors at the exact size.
#pragma once

#include <QImage>
#include <QString>
#include <string>

#include "encode/encoder_options.h"

namespace sw {

// Pictures of more pixels than this are refused rather than drawn: every picture of up to 30,000
// pixels a side, at one bit a pixel about 110 MB.
inline constexpr qint64 kMaxPngPixels = 900'000'000;

// Draws the request's font string in the face for its type and height, `points` big at `dpi`,
// on the pixel grid (every bar and space of one width a whole number of pixels), with a white
// margin of 0.4 em, in whole modules, left and right (the quiet zone of Code 3 of 9, whose
// start and stop glyphs cannot carry one; the other faces carry theirs in the glyphs) and 0.1
// em above and below. Every pixel is black or white. On failure returns a null image and sets
// `error` (when given) and `status` (when given): kExitUsage for a size the options ask for
// that cannot be drawn, kExitIoError when the memory for it cannot be had.
QImage RenderBarcode(const PictureRequest& request, QString* error, int* status = nullptr);

// Writes the picture in the request's format to `file`, or to standard output for "-" (a file
// is written in full or not at all), starting an offscreen QGuiApplication when none runs. The
// file name is handed to the system byte for byte. A size that cannot be drawn is reported with
// kExitUsage, a picture that cannot be made or written with kExitIoError, each with the reason;
// an existing file is then left as it was.
WriteOutcome WriteBarcodePicture(const PictureRequest& request, const std::string& file);

}  // namespace sw
