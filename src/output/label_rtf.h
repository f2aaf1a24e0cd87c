// The label templates: one RTF document per sheet, a table whose cells sit exactly on the
// sheet's labels, so that text pasted into a cell prints inside that label.
#pragma once

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

TemplateLayout LayOutSheet(const SheetGeometry& sheet);

// The whole RTF document for a sheet (a choice with a sheet, not the custom one).
std::string LabelTemplateRtf(const LabelChoice& choice);

}  // namespace sw
