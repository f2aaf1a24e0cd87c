// Conversion of a text to a whole number for the window's numeric fields, with the error text
// the program shows when the text is not one.
#pragma once

#include <QString>
#include <stdexcept>

namespace sw {

class ConversionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The decimal whole number that `text` holds (an optional sign, digits, blanks around them).
// Throws ConversionError "'<text>' is not a valid integer value" otherwise.
int StrToInt(const QString& text);

// The smallest and largest point size the preview is ever set to. A whole number outside the
// range is applied as the nearest limit: the toolkit cannot draw a font of zero or negative
// size, and one far beyond any page would overflow its size arithmetic.
inline constexpr int kMinPreviewPointSize = 1;
inline constexpr int kMaxPreviewPointSize = 1638;

// The point size for the preview from the text of the point size box (throws as StrToInt).
int PreviewPointSize(const QString& text);

}  // namespace sw
