// The command line's options for sheets of labels and for the CSV write-back.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "encode/encoder_options.h"

namespace sw {

struct SheetArguments {
    // Layout and printer calibration.
    std::optional<std::string> fit, offset, scale;
    bool outline = false, cropMarks = false;
    bool LayoutAny() const { return fit || offset || scale || outline || cropMarks; }

    std::optional<std::string> sheet, paper, output, firstLabel, copies, column;
    bool text = false, csv = false, header = false, append = false, skipBad = false;
    // Reading the files users bring; copies from a column; items from a counter.
    std::optional<std::string> separator, inputEncoding, copiesColumn, serial;

    bool Any() const {
        return sheet || paper || output || firstLabel || copies || column || text || csv ||
               header || append || skipBad || separator || inputEncoding || copiesColumn || serial;
    }
};

// True when `name` is one of these options; `takesValue` says whether it needs a value.
bool IsSheetOption(std::string_view name, bool& takesValue);
void SetSheetOption(SheetArguments& arguments, std::string_view name,
                    const std::optional<std::string>& value);

// The items of --serial TEMPLATE[:STEP[:COUNT]]: TEMPLATE is text with one {DIGITS} in it
// (or DIGITS alone), whose digits give the first number and its width in zero-padded digits;
// STEP (default 1) is added for each next item; COUNT items in all, `defaultCount` when left
// out (0: COUNT is needed). Says what is wrong in `error` otherwise.
std::optional<std::vector<std::string>> SerialItems(std::string_view value, int defaultCount,
                                                    std::string& error);

inline constexpr int kMaxSerialItems = 100000;

// Checks the options together and puts them into `options` (whose type is set); returns what
// is wrong, or an empty text.
std::string FinishSheetOptions(const SheetArguments& arguments, std::optional<BarHeight> height,
                               std::optional<double> points, EncoderOptions& options);

}  // namespace sw
