// What the command line asks the encoder for.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "barcode/catalogue.h"
#include "encode/sheet_options.h"
#include "encode/write_outcome.h"

namespace sw {

enum class OutputEncoding { Utf8, Cp1252 };

enum class PictureFormat { Png, Svg, Pdf };

struct PictureFile {
    PictureFormat format;
    std::string file;  // "-" for standard output
};

// Picture output of one item (--png, --svg, --pdf): the face of `type` at `height`, `points`
// big, at `dpi` for the pixel picture.
struct PictureOptions {
    std::vector<PictureFile> files;  // PNG, SVG, PDF in that order, each at most once
    BarHeight height = BarHeight::Normal;
    double points = 0;  // the type's usual point size unless given
    int dpi = 300;
};

inline constexpr double kMinPicturePoints = 4;
inline constexpr double kMaxPicturePoints = 400;
inline constexpr int kMinPngDpi = 72;
inline constexpr int kMaxPngDpi = 2400;

struct EncoderOptions {
    BarCodeType type = BarCodeType::Type39;
    bool checksum = false;
    OutputEncoding encoding = OutputEncoding::Utf8;
    bool encodingGiven = false;             // --encoding was given
    bool haveItems = false;                 // data came as arguments rather than on standard input
    std::vector<std::string> items;         // the data arguments, as given (UTF-8)
    std::optional<PictureOptions> picture;  // pictures of the one item instead of text
    std::optional<SheetOptions> sheet;      // sheets of labels, or the CSV written back
};

// What the picture writer gets: a font string that encoded without error.
struct PictureRequest {
    BarCodeType type;
    BarHeight height;
    double points;
    int dpi;
    std::u32string fontString;
    PictureFormat format = PictureFormat::Png;
};

// Writes the picture of a bar code to `file` and says how that went. The real one
// (picture_output.h) needs Qt; the text path never starts it.
using PictureWriter =
    std::function<WriteOutcome(const PictureRequest& request, const std::string& file)>;

}  // namespace sw
