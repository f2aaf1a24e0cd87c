#include "encode/sheet_arguments.h"

#include "encode/option_values.h"

#include <sys/stat.h>

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
        if (a.scale) {
            return "--scale applies to PDF labels; for an RTF document set the scale in the word "
                   "processor's print dialog, or write a PDF";
        }
        if (a.outline || a.cropMarks) {
            return std::string(a.outline ? "--outline" : "--crop-marks") +
                   " applies to PDF labels: write the alignment page as a PDF";
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
                 name == "--first-label" || name == "--copies" || name == "--column" ||
                 name == "--separator" || name == "--input-encoding" || name == "--copies-column" ||
                 name == "--serial";
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
    else if (name == "--separator")
        a.separator = value;
    else if (name == "--input-encoding")
        a.inputEncoding = value;
    else if (name == "--copies-column")
        a.copiesColumn = value;
    else if (name == "--serial")
        a.serial = value;
}

std::optional<std::vector<std::string>> SerialItems(std::string_view value, int defaultCount,
                                                    std::string& error) {
    error =
        "--serial is TEMPLATE[:STEP[:COUNT]], TEMPLATE a text with the first number in "
        "braces, its digits giving the width, such as INV-{00001}:1:500; not \"" +
        std::string(value) + "\"";
    std::string_view prefix, digits, rest;
    if (const std::size_t open = value.find('{'); open != std::string_view::npos) {
        const std::size_t close = value.find('}', open);
        if (close == std::string_view::npos)
            return std::nullopt;
        prefix = value.substr(0, open);
        digits = value.substr(open + 1, close - open - 1);
        rest = value.substr(close + 1);
        if (rest.find_first_of("{}") != std::string_view::npos)
            return std::nullopt;
    } else {
        digits = value.substr(0, value.find(':'));
        rest = value.substr(digits.size());
    }
    const std::size_t colon = rest.find(':');
    const std::string_view suffix = rest.substr(0, colon);
    std::string_view step = "1", count;
    if (colon != std::string_view::npos) {
        step = rest.substr(colon + 1);
        if (const std::size_t second = step.find(':'); second != std::string_view::npos) {
            count = step.substr(second + 1);
            step = step.substr(0, second);
        }
    }
    if (digits.empty() || digits.size() > 15 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const std::optional<int> by = ParseWholeNumber(step, 1, 1000000);
    const std::optional<int> n = count.empty() && defaultCount > 0
                                     ? defaultCount
                                     : ParseWholeNumber(count, 1, kMaxSerialItems);
    if (!by || !n) {
        if (count.empty())
            error = "--serial needs a COUNT here, such as " + std::string(value) + ":1:100";
        else if (by)
            error = "--serial: COUNT must be a whole number from 1 to " +
                    std::to_string(kMaxSerialItems) + ", not \"" + std::string(count) + "\"";
        else
            error = "--serial: STEP must be a whole number from 1 to 1000000, not \"" +
                    std::string(step) + "\"";
        return std::nullopt;
    }
    long long number = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), number);
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(*n));
    for (int k = 0; k < *n; ++k, number += *by) {
        std::string text = std::to_string(number);
        if (text.size() < digits.size())
            text.insert(0, digits.size() - text.size(), '0');
        items.push_back(std::string(prefix) + text + std::string(suffix));
    }
    error.clear();
    return items;
}

std::string FinishSheetOptions(const SheetArguments& a, std::optional<BarHeight> height,
                               std::optional<double> points, EncoderOptions& options) {
    SheetOptions s;
    s.skipBad = a.skipBad;
    if (a.inputEncoding) {
        const std::optional<InputEncoding> encoding = InputEncodingFromName(*a.inputEncoding);
        if (!encoding) {
            return "unknown input encoding \"" + *a.inputEncoding +
                   "\" (utf-8, utf-16le, utf-16be or cp1252)";
        }
        if (!a.csv && !a.sheet)
            return "--input-encoding applies to --csv and --sheet only";
        s.source.encoding = *encoding;
    }
    if (a.csv) {
        if (!a.column)
            return "--csv needs --column N (or --column NAME with --header)";
        s.source.csv = true;
        s.source.header = a.header;
        if (const std::optional<int> column = ParseWholeNumber(*a.column, 1, 100000)) {
            s.source.column = *column;
        } else if (a.header && !a.column->empty() &&
                   a.column->find_first_not_of("0123456789") != std::string::npos) {
            s.source.columnName = *a.column;
        } else {
            return "--column must be a whole number from 1, or a column's name with --header, "
                   "not \"" +
                   *a.column + "\"";
        }
        if (a.separator) {
            const std::string v = LowerAscii(*a.separator);
            if (v == "," || v == "comma")
                s.source.separator = ',';
            else if (v == ";" || v == "semicolon")
                s.source.separator = ';';
            else if (v == "\t" || v == "\\t" || v == "tab")
                s.source.separator = '\t';
            else
                return "unknown separator \"" + *a.separator + "\" (comma, semicolon or tab)";
        }
    } else if (a.column || a.header || a.append || a.separator) {
        return std::string(a.column      ? "--column"
                           : a.header    ? "--header"
                           : a.separator ? "--separator"
                                         : "--append") +
               " applies to --csv only";
    }
    if (a.serial && (a.csv || !options.items.empty()))
        return "--serial makes the items: leave out --csv and DATA";
    for (const std::string& item : options.items) {
        struct stat st {};
        if (s.dataNamesFile.empty() && ::stat(item.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            s.dataNamesFile = item;
    }
    if (a.serial && !a.sheet) {
        if (a.paper || a.output || a.firstLabel || a.copies || a.text || a.skipBad || height ||
            points || a.inputEncoding)
            return "--serial without --sheet writes the font strings; the label options need "
                   "--sheet";
        std::string error;
        std::optional<std::vector<std::string>> items = SerialItems(*a.serial, 0, error);
        if (!items)
            return error;
        options.items = std::move(*items);
        return {};
    }
    if (a.copiesColumn) {
        if (!a.csv || !a.sheet)
            return "--copies-column applies to --csv with --sheet only";
        if (a.copies)
            return "--copies and --copies-column cannot go together";
        if (const std::optional<int> column = ParseWholeNumber(*a.copiesColumn, 1, 100000))
            s.source.copiesColumn = *column;
        else if (a.header && a.copiesColumn->find_first_not_of("0123456789") != std::string::npos)
            s.source.copiesColumnName = *a.copiesColumn;
        else
            return "--copies-column must be a whole number from 1, or a column's name with "
                   "--header, not \"" +
                   *a.copiesColumn + "\"";
    }
    if (a.csv && !a.append && !a.sheet) {
        if (a.paper || a.output || a.firstLabel || a.copies || a.text || a.LayoutAny() || height ||
            points)
            return "--csv without --append or --sheet writes the font strings to standard "
                   "output; the label options need --sheet";
        s.fontStrings = true;
        options.sheet = std::move(s);
        return {};
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
        return "--encoding applies to the text, to --csv and to --append only";
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
    if (a.serial) {
        // Without a COUNT, the labels that are left on the first page.
        std::optional<std::vector<std::string>> items =
            SerialItems(*a.serial, s.sheet.Labels() - s.firstLabel + 1, error);
        if (!items)
            return error;
        options.items = std::move(*items);
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
