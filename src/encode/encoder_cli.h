// The command-line encoder: turns data items into font strings, one output line per item.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "barcode/catalogue.h"
#include "encode/sheet_options.h"

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

// Writes the picture of a bar code to `file`; returns an empty text on success and otherwise
// what went wrong. The real one (picture_output.h) needs Qt; the text path never starts it.
using PictureWriter =
    std::function<std::string(const PictureRequest& request, const std::string& file)>;

enum ExitStatus { kExitOk = 0, kExitItemFailed = 1, kExitUsage = 2, kExitIoError = 3 };

struct ParseOutcome {
    std::optional<EncoderOptions> options;  // set when the encoder should run
    int status = kExitOk;                   // exit status when it should not
    std::string out;                        // text for standard output (help, version)
    std::string err;                        // text for standard error (usage errors)
};

ParseOutcome ParseEncoderArguments(const std::vector<std::string>& args);

// Encodes every item and writes one line per item to `out`; failures go to `err` as
// "line N: message". Reads `in` line by line when the options carry no items.
// With pictures asked for, encodes the one item and hands it to `pictures` instead, once for
// each file.
// With a sheet asked for, encodes every item first and hands the job to `sheets`.
int RunEncoder(const EncoderOptions& options, std::FILE* in, std::FILE* out, std::FILE* err,
               const PictureWriter& pictures = {}, const SheetWriter& sheets = {});

// The whole program: parse, then run. `args` excludes the program name.
int EncoderMain(const std::vector<std::string>& args, std::FILE* in, std::FILE* out, std::FILE* err,
                const PictureWriter& pictures = {}, const SheetWriter& sheets = {});

std::string EncoderUsage();

}  // namespace sw
