// Pictures of bar codes: a font string drawn from its face's glyphs as a PNG picture on the
// pixel grid, or as SVG or PDF vectors at the exact size.
#pragma once

#include <QImage>
#include <QString>
#include <string>

#include "encode/encoder_options.h"

namespace sw {

// Pictures wider or taller than this many pixels are refused rather than drawn.
inline constexpr int kMaxPngSide = 30000;

// Draws the request's font string in the face for its type and height, `points` big at `dpi`,
// on the pixel grid (every bar and space of one width a whole number of pixels), with a white
// margin of 0.4 em, in whole modules, left and right (the quiet zone of Code 3 of 9, whose
// start and stop glyphs cannot carry one; the other faces carry theirs in the glyphs) and 0.1
// em above and below. Every pixel is black or white. On failure returns a null image and sets
// `error` (when given).
QImage RenderBarcode(const PictureRequest& request, QString* error);

// Writes the picture in the request's format to `file`, or to standard output for "-" (a file
// is written in full or not at all), starting an offscreen QGuiApplication when none runs. A
// picture that cannot be drawn or written is reported with kExitIoError and the reason.
WriteOutcome WriteBarcodePicture(const PictureRequest& request, const std::string& file);

}  // namespace sw
