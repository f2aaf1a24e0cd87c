// The label templates: one RTF document per sheet, a table whose cells sit exactly on the
// sheet's labels, so that text pasted into a cell prints inside that label.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "output/label_sheets.h"

namespace sw {

inline constexpr int kTwipsPerInch = 1440;

// Inches to the nearest twip.
int Twips(double inches);

// A sheet's table in twips.
struct TemplateLayout {
    int paperWidth;
    int paperHeight;
    int marginLeft;    // the first label's left edge
    int marginRight;   // never more than the sheet's right margin
    int marginTop;     // the first label's top edge
    int marginBottom;  // a little less than the sheet's, so the table and the closing paragraph fit
    std::vector<int> rowHeights;  // exact heights, top to bottom
    // Right edge of every cell of a row, from the left margin; labels and the narrow empty
    // spacer cells between them alternate, starting and ending with a label.
    std::vector<int> cellEdges;
    std::vector<bool> isLabelCell;
};

TemplateLayout LayOutSheet(const SheetGeometry& sheet, double paperWidth = kLetterWidth,
                           double paperHeight = kLetterHeight);

// The whole RTF document for a sheet (a choice with a sheet, not the custom one).
std::string LabelTemplateRtf(const LabelChoice& choice);

// Sheets of the same table filled in: `pages` sheets, one after the other, each label's
// paragraph followed by what `label` returns for it (RTF, from label 0 of the first page on;
// empty for a label left blank). Font 0 is the labels' plain type; `fonts` adds entries to the
// font table. Rows of a sheet whose labels do not touch get empty rows between them. Returns the
// document, or with `flush` what is left of it after the last page handed over.
struct FilledSheet {
    std::string title;
    double paperWidth = kLetterWidth;
    double paperHeight = kLetterHeight;
    std::string fonts;
    long long pages = 1;
    std::function<std::string(long long label)> label;
    // When set, handed the document so far after each page, to take and clear, so that a long
    // document is never held whole; false stops the document (what is returned is then of no
    // use).
    std::function<bool(std::string& text)> flush;
};
std::string FilledSheetRtf(const SheetGeometry& sheet, const FilledSheet& fill);

}  // namespace sw
