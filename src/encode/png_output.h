// Pictures of bar codes: a font string drawn in its bar code face, black on white.
#pragma once

#include <QImage>
#include <QString>
#include <string>

#include "encode/encoder_cli.h"

namespace sw {

// Pictures wider or taller than this many pixels are refused rather than drawn.
inline constexpr int kMaxPngSide = 30000;

// Draws the request's font string in the face for its type and height, `points` big at `dpi`,
// with a white margin of 0.4 em left and right (the quiet zone of Code 3 of 9, whose start and
// stop glyphs cannot carry one; the other faces carry theirs in the glyphs) and 0.1 em above
// and below. Bars are drawn without anti-aliasing: every pixel is black or white. Needs a
// QGuiApplication. On failure returns a null image and sets `error` (when given).
QImage RenderBarcode(const PngRequest& request, QString* error);

// Writes the picture to `file` as PNG (written in full or not at all), starting an offscreen
// QGuiApplication when none runs. Returns an empty text on success, otherwise the reason.
std::string WriteBarcodePng(const PngRequest& request, const std::string& file);

}  // namespace sw
