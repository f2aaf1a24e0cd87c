#include "encode/sheet_arguments.h"

#include "encode/option_values.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace sw {
namespace {

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && LowerAscii(text.substr(text.size() - end.size())) == end;
}

std::string StockNumbers() {
    std::string list;
    for (std::size_t i = 0; i < kSheetCount; ++i) {
        list += (i == 0 ? "" : ", ");
        list += kLabelChoices[i].stockNumber;
    }
    return list;
}

}  // namespace

std::optional<SheetGeometry> SheetFromName(const std::string& name, std::string& error) {
    for (std::size_t i = 0; i < kSheetCount; ++i) {
        if (name == kLabelChoices[i].stockNumber)
            return kLabelChoices[i].sheet;
    }
    const std::string_view custom = "custom:";
    if (LowerAscii(name).rfind(custom, 0) != 0) {
        error = "unknown sheet \"" + name + "\" (" + StockNumbers() +
                ", or custom:COLS,ROWS,W,H,LEFT,TOP,DX,DY in inches)";
        return std::nullopt;
    }
    std::vector<std::string_view> parts;
    std::string_view rest = std::string_view(name).substr(custom.size());
    for (;;) {
        const std::size_t comma = rest.find(',');
        parts.push_back(rest.substr(0, comma));
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    const std::string usage =
        "a custom sheet is custom:COLS,ROWS,W,H,LEFT,TOP,DX,DY: columns "
        "and rows, then the label's size, the first label's offset from "
        "the page's corner and the pitch, in inches";
    if (parts.size() != 8) {
        error = usage;
        return std::nullopt;
    }
    const std::optional<int> columns = ParseWholeNumber(parts[0], 1, 50);
    const std::optional<int> rows = ParseWholeNumber(parts[1], 1, 100);
    double v[6];
    for (int k = 0; k < 6; ++k) {
        const std::optional<double> d = ParseDecimal(parts[static_cast<std::size_t>(k) + 2]);
        if (!d || *d > 100) {
            error = usage;
            return std::nullopt;
        }
        v[k] = *d;
    }
    if (!columns || !rows || v[0] <= 0 || v[1] <= 0) {
        error = usage + " (1 to 50 columns, 1 to 100 rows, labels larger than 0)";
        return std::nullopt;
    }
    const SheetGeometry sheet{*columns, *rows, v[0], v[1], v[2], v[3], v[4], v[5]};
    if ((sheet.columns > 1 && sheet.dx < sheet.width) ||
        (sheet.rows > 1 && sheet.dy < sheet.height)) {
        error = "the labels of the custom sheet overlap: the pitch is smaller than the label";
        return std::nullopt;
    }
    return sheet;
}

namespace {

std::string Figure(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

// A decimal number with an optional minus sign.
std::optional<double> SignedDecimal(std::string_view text) {
    const bool minus = !text.empty() && text.front() == '-';
    const std::optional<double> v = ParseDecimal(minus ? text.substr(1) : text);
    if (!v)
        return std::nullopt;
    return minus ? -*v : *v;
}

// Layout and printer calibration options.
bool IsLayoutOption(std::string_view name, bool& takesValue) {
    takesValue = name == "--fit" || name == "--offset" || name == "--scale";
    return takesValue || name == "--outline" || name == "--crop-marks";
}

bool SetLayoutOption(SheetArguments& a, std::string_view name,
                     const std::optional<std::string>& value) {
    if (name == "--fit")
        a.fit = value;
    else if (name == "--offset")
        a.offset = value;
    else if (name == "--scale")
        a.scale = value;
    else if (name == "--outline")
        a.outline = true;
    else if (name == "--crop-marks")
        a.cropMarks = true;
    else
        return false;
    return true;
}

std::string FinishLayoutOptions(const SheetArguments& a, SheetOptions& s) {
    if (a.fit) {
        const std::string fit = LowerAscii(*a.fit);
        if (fit != "one" && fit != "each")
            return "--fit must be one (every label at one size) or each, not \"" + *a.fit + "\"";
        if (s.points > 0)
            return "--fit sizes the bar codes without --size; leave out one of them";
        s.fitEach = fit == "each";
    }
    if (a.offset) {
        const std::string usage = "--offset must be X,Y in inches, each from -" +
                                  Figure(kMaxOffset) + " to " + Figure(kMaxOffset) +
                                  " (right and down), not \"" + *a.offset + "\"";
        const std::size_t comma = a.offset->find(',');
        if (comma == std::string::npos)
            return usage;
        const std::optional<double> x = SignedDecimal(std::string_view(*a.offset).substr(0, comma));
        const std::optional<double> y =
            SignedDecimal(std::string_view(*a.offset).substr(comma + 1));
        if (!x || !y || std::abs(*x) > kMaxOffset || std::abs(*y) > kMaxOffset)
            return usage;
        s.offsetX = *x;
        s.offsetY = *y;
    }
    if (a.scale) {
        const std::optional<double> scale = ParseDecimal(*a.scale);
        if (!scale || *scale < kMinScale || *scale > kMaxScale) {
            return "--scale must be a factor from " + Figure(kMinScale) + " to " +
                   Figure(kMaxScale) + " (0.98 prints 2% smaller), not \"" + *a.scale + "\"";
        }
        s.scale = *scale;
    }
    s.outline = a.outline;
    s.cropMarks = a.cropMarks;
    if (s.format == SheetFormat::Rtf) {
        // The word processor places and scales an RTF document itself: an offset moves the
        // table's margins, while a scale and guides are the print dialog's and the PDF's.
        if (a.scale || a.outline || a.cropMarks) {
            return std::string(a.scale     ? "--scale"
                               : a.outline ? "--outline"
                                           : "--crop-marks") +
                   " applies to PDF labels; for an RTF document set the scale in the word "
                   "processor's print dialog, or write a PDF";
        }
        constexpr double kSlack = 0.005;
        const double left = s.sheet.x0 + s.offsetX;
        const double top = s.sheet.y0 + s.offsetY;
        if (left < -kSlack || top < -kSlack ||
            s.sheet.RightMargin(s.paper.width) - s.offsetX < -kSlack ||
            s.sheet.BottomMargin(s.paper.height) + (s.sheet.dy - s.sheet.height) - s.offsetY <
                -kSlack) {
            return "--offset moves the labels of sheet " + s.sheetName + " off the " +
                   std::string(s.paper.name) + " paper of an RTF document";
        }
    }
    return {};
}

}  // namespace

bool IsSheetOption(std::string_view name, bool& takesValue) {
    if (IsLayoutOption(name, takesValue))
        return true;
    takesValue = name == "--sheet" || name == "--paper" || name == "--output" ||
                 name == "--first-label" || name == "--copies" || name == "--column";
    return takesValue || name == "--text" || name == "--csv" || name == "--header" ||
           name == "--append" || name == "--skip-bad";
}

void SetSheetOption(SheetArguments& a, std::string_view name,
                    const std::optional<std::string>& value) {
    if (SetLayoutOption(a, name, value))
        return;
    if (name == "--sheet")
        a.sheet = value;
    else if (name == "--paper")
        a.paper = value;
    else if (name == "--output")
        a.output = value;
    else if (name == "--first-label")
        a.firstLabel = value;
    else if (name == "--copies")
        a.copies = value;
    else if (name == "--column")
        a.column = value;
    else if (name == "--text")
        a.text = true;
    else if (name == "--csv")
        a.csv = true;
    else if (name == "--header")
        a.header = true;
    else if (name == "--append")
        a.append = true;
    else if (name == "--skip-bad")
        a.skipBad = true;
}

std::string FinishSheetOptions(const SheetArguments& a, std::optional<BarHeight> height,
                               std::optional<double> points, EncoderOptions& options) {
    SheetOptions s;
    s.skipBad = a.skipBad;
    if (a.csv) {
        if (!a.column)
            return "--csv needs --column N";
        const std::optional<int> column = ParseWholeNumber(*a.column, 1, 100000);
        if (!column)
            return "--column must be a whole number from 1, not \"" + *a.column + "\"";
        s.source = {true, *column, a.header};
    } else if (a.column || a.header || a.append) {
        return std::string(a.column   ? "--column"
                           : a.header ? "--header"
                                      : "--append") +
               " applies to --csv only";
    }
    if (a.append) {
        if (a.sheet || a.paper || a.firstLabel || a.copies || a.text || a.LayoutAny() || height ||
            points)
            return "--append writes the CSV back; it makes no sheet (leave out --sheet and the "
                   "label options)";
        if (a.output && !EndsWith(*a.output, ".csv"))
            return "--append writes a CSV file: --output must end in .csv";
        s.append = true;
        s.output = a.output.value_or("");
        options.sheet = std::move(s);
        return {};
    }
    if (!a.sheet)
        return "labels need --sheet (" + StockNumbers() + " or custom:...)";
    if (!a.output)
        return "labels need --output FILE.pdf or FILE.rtf";
    if (options.encoding != OutputEncoding::Utf8)
        return "--encoding applies to the text and to --append only";
    std::string error;
    const std::optional<SheetGeometry> sheet = SheetFromName(*a.sheet, error);
    if (!sheet)
        return error;
    s.sheet = *sheet;
    s.sheetName = LowerAscii(*a.sheet).rfind("custom:", 0) == 0 ? "custom" : *a.sheet;
    if (a.paper) {
        const std::string paper = LowerAscii(*a.paper);
        if (paper == "letter")
            s.paper = kLetterPaper;
        else if (paper == "a4")
            s.paper = kA4Paper;
        else
            return "unknown paper \"" + *a.paper + "\" (letter or a4)";
    }
    constexpr double kSlack = 0.005;  // figures given to a hundredth of an inch
    if (s.sheet.RightMargin(s.paper.width) < -kSlack ||
        s.sheet.BottomMargin(s.paper.height) + (s.sheet.dy - s.sheet.height) < -kSlack ||
        s.sheet.x0 < 0 || s.sheet.y0 < 0) {
        return "the labels of sheet " + s.sheetName + " do not fit on " +
               std::string(s.paper.name) + " paper";
    }
    if (EndsWith(*a.output, ".pdf"))
        s.format = SheetFormat::Pdf;
    else if (EndsWith(*a.output, ".rtf"))
        s.format = SheetFormat::Rtf;
    else
        return "--output must end in .pdf or .rtf, not \"" + *a.output + "\"";
    s.output = *a.output;
    if (a.firstLabel) {
        const std::optional<int> first = ParseWholeNumber(*a.firstLabel, 1, s.sheet.Labels());
        if (!first) {
            return "--first-label must be a label of the sheet, 1 to " +
                   std::to_string(s.sheet.Labels()) + ", not \"" + *a.firstLabel + "\"";
        }
        s.firstLabel = *first;
    }
    if (a.copies) {
        const std::optional<int> copies = ParseWholeNumber(*a.copies, 1, kMaxCopies);
        if (!copies) {
            return "--copies must be a whole number from 1 to " + std::to_string(kMaxCopies) +
                   ", not \"" + *a.copies + "\"";
        }
        s.copies = *copies;
    }
    s.height = height.value_or(BarHeight::Normal);
    s.points = points.value_or(0);
    s.text = a.text;
    error = FinishLayoutOptions(a, s);
    if (!error.empty())
        return error;
    options.sheet = std::move(s);
    return {};
}

}  // namespace sw
