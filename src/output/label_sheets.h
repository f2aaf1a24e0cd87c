// The label sheets the label dialog offers: what the dialog shows for each, the template that
// is opened for it, the "LabelSize" value that stores the choice, and the sheet's geometry,
// from which the templates are generated. Standard C++ only.
#pragma once

#include <array>
#include <string_view>

namespace sw {

// A sheet of labels on US Letter paper, in inches. x0/y0 is the first label's top-left corner
// measured from the page's top-left corner; dx/dy is the pitch from one label's left (top)
// edge to the next one's.
struct SheetGeometry {
    int columns;
    int rows;
    double width;
    double height;
    double x0;
    double y0;
    double dx;
    double dy;

    constexpr int Labels() const { return columns * rows; }
    constexpr double RightMargin(double pageWidth) const {
        return pageWidth - x0 - (columns - 1) * dx - width;
    }
    constexpr double BottomMargin(double pageHeight) const { return pageHeight - y0 - rows * dy; }
};

inline constexpr double kLetterWidth = 8.5;
inline constexpr double kLetterHeight = 11.0;

struct LabelChoice {
    std::string_view button;       // the dialog's radio button
    std::string_view size;         // "Label Size " column
    std::string_view perSheet;     // "Labels / Sheet " column
    std::string_view stockNumber;  // "Label Number " column
    std::string_view fileName;     // template opened in the program folder
    int labelSize;                 // value of the "LabelSize" setting
    SheetGeometry sheet;           // all zero for the user's own template

    constexpr bool IsCustom() const { return sheet.columns == 0; }
};

// In the dialog's order from top to bottom; the last one is the user's own template.
// clang-format off
inline constexpr std::array<LabelChoice, 9> kLabelChoices{{
    //                                               columns, rows, width, height, x0, y0, dx, dy
    {"L1", "1.75 x 0.50",  "80", "5167", "lt167.rtf", 1, {4, 20, 1.75, 0.50, 0.28125, 0.50, 2.0625, 0.50}},
    // Published in points: 126 x 90 pt labels at a 139.536 pt pitch, 36 pt margins.
    {"L2", "1.75 x 1.25",  "32", "6570", "lt570.rtf", 2, {4, 8, 1.75, 1.25, 0.50, 0.50, 1.938, 1.25}},
    {"L3", "2.625 x 1.00", "30", "5160", "lt060.rtf", 3, {3, 10, 2.625, 1.00, 0.15625, 0.50, 2.78125, 1.00}},
    {"L4", "4.00 x 1.00",  "20", "5161", "lt161.rtf", 4, {2, 10, 4.00, 1.00, 0.15625, 0.50, 4.1875, 1.00}},
    {"L5", "4.00 x 1.33",  "14", "5162", "lt162.rtf", 5, {2, 7, 4.00, 4.0 / 3.0, 0.15625, 5.0 / 6.0, 4.1875, 4.0 / 3.0}},
    {"L6", "4.00 x 1.50",  "12", "5197", "lt197.rtf", 6, {2, 6, 4.00, 1.50, 0.1875, 1.00, 4.125, 1.50}},
    // 5/32 in, as on every other 4 in wide sheet; the 0.1625 sometimes quoted leaves the
    // sheet lopsided.
    {"L7", "4.00 x 2.00",  "10", "5163", "lt163.rtf", 7, {2, 5, 4.00, 2.00, 0.15625, 0.50, 4.1875, 2.00}},
    {"L8", "4.00 x 3.33",  "6",  "5164", "lt164.rtf", 8, {2, 3, 4.00, 10.0 / 3.0, 0.15625, 0.50, 4.1875, 10.0 / 3.0}},
    {"L9", "Custom", "User defined", "---", "custom.rtf", 9, {}},
}};
// clang-format on
static_assert(kLabelChoices.size() == 9);

// The eight sheets that come with a template of ours.
inline constexpr std::size_t kSheetCount = 8;
static_assert(kLabelChoices[kSheetCount].IsCustom());

inline constexpr int kDefaultLabelSize = 4;
inline constexpr int kCustomLabelSize = 9;

// The choice a stored "LabelSize" selects: 1 to 8 select their sheet, anything else Custom.
constexpr const LabelChoice& ChoiceForLabelSize(int labelSize) {
    if (labelSize >= 1 && labelSize <= static_cast<int>(kSheetCount)) {
        return kLabelChoices[static_cast<std::size_t>(labelSize - 1)];
    }
    return kLabelChoices[kSheetCount];
}

namespace detail {
constexpr bool SheetsAreSound() {
    for (std::size_t i = 0; i < kLabelChoices.size(); ++i) {
        const LabelChoice& c = kLabelChoices[i];
        if (c.labelSize != static_cast<int>(i) + 1)
            return false;
        if (c.IsCustom() != (i == kSheetCount))
            return false;
        if (c.IsCustom())
            continue;
        const SheetGeometry& s = c.sheet;
        // Rows are laid edge to edge in the templates: no sheet of ours has a row gap.
        if (s.dy != s.height || s.dx < s.width)
            return false;
        if (s.RightMargin(kLetterWidth) < 0 || s.BottomMargin(kLetterHeight) < 0)
            return false;
    }
    return true;
}
}  // namespace detail
static_assert(detail::SheetsAreSound());

}  // namespace sw
