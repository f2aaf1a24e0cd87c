#include "encode/encoder_cli.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "encode/option_values.h"
#include "encode/sheet_arguments.h"

namespace sw {
namespace {

std::string UsageError(const std::string& what) {
    return "stripewright-encode: " + what + "\n" + EncoderUsage();
}

std::string FormatNumber(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

const char* OptionOf(PictureFormat format) {
    return format == PictureFormat::Png   ? "--png"
           : format == PictureFormat::Svg ? "--svg"
                                          : "--pdf";
}

// Where `file` ends up, links and "." and ".." resolved as far as the path exists.
std::filesystem::path Resolved(const std::string& file) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(file, ec);
    std::filesystem::path path = std::filesystem::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal() : path;
}

// Why two of the `files` would overwrite each other, or nothing.
std::string SameFile(const std::vector<PictureFile>& files) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (std::size_t j = i + 1; j < files.size(); ++j) {
            if (files[i].file == "-" || files[j].file == "-")
                continue;
            if (Resolved(files[i].file) == Resolved(files[j].file)) {
                return std::string(OptionOf(files[i].format)) + " and " +
                       OptionOf(files[j].format) + " would both write " + files[j].file;
            }
        }
    }
    return {};
}

}  // namespace

std::string EncoderUsage() {
    return "Usage: stripewright-encode --type TYPE [OPTION]... [--] [DATA]...\n"
           "  or:  stripewright-encode --type TYPE --png|--svg|--pdf FILE [OPTION]... [--] DATA\n"
           "  or:  stripewright-encode --type TYPE --sheet SHEET --output FILE.pdf|FILE.rtf "
           "[OPTION]...\n"
           "  or:  stripewright-encode --type TYPE --csv --column N|NAME [--append] "
           "[OPTION]...\n"
           "\n"
           "Turns each DATA item into the string that the bar code font of TYPE draws as a\n"
           "bar code. Without DATA, reads standard input: one item per line (UTF-8, LF or\n"
           "CRLF endings). Writes exactly one line per item; a failed item gets an empty\n"
           "line, and \"line N: message\" on standard error.\n"
           "\n"
           "With --png, --svg or --pdf (or several), draws the bar code of the one DATA item,\n"
           "quiet zones included, and writes it to FILE (\"-\": standard output): a black-on-\n"
           "white PNG picture with every bar and space a whole number of pixels, or vectors\n"
           "at the exact size.\n"
           "\n"
           "With --sheet, puts every item on a label of a sheet, left to right and top to\n"
           "bottom, as many pages as the list needs: a PDF document ready to print at 100%,\n"
           "or the sheet's RTF template filled in the bar code font. Each bar code is\n"
           "centred, all at one size: the largest at which the longest item fits its label\n"
           "with its quiet zones (or --size, or with --fit each the largest each fits); a\n"
           "list that does not fit is refused before anything is written. An item that does\n"
           "not encode stops the job and writes nothing, unless --skip-bad leaves its label\n"
           "empty. With --csv --append, writes the CSV back with one more column holding\n"
           "each row's font string, for a word processor's mail merge; with --csv alone,\n"
           "writes the column's font strings, one a line. Blank lines are no items.\n"
           "\n"
           "  --type TYPE      25, 25i, 39, Post, UPC, 128, GS1-128, EAN13 or IMb (any case)\n"
           "  --checksum       add the optional check character (25i and 39 only)\n"
           "  --encoding ENC   utf-8 (default) or cp1252 for single-byte programs\n"
           "  --png FILE       write a PNG picture of the bar code instead of the string\n"
           "  --svg FILE       write an SVG drawing of the bar code\n"
           "  --pdf FILE       write a one-page PDF document of the bar code\n"
           "  --height HEIGHT  short, normal (default) or tall bars (pictures and labels)\n"
           "  --size POINTS    font size, 4 to 400 (pictures: default the type's usual\n"
           "                   size, 24, 18 for Post and IMb, 50 for UPC and EAN13;\n"
           "                   labels: default the largest that fits, 18 for Post\n"
           "                   and IMb)\n"
           "  --dpi N          resolution of the picture, 72 to 2400 (PNG only; default 300)\n"
           "  --sheet SHEET    5167, 6570, 5160, 5161, 5162, 5197, 5163 or 5164, or\n"
           "                   custom:COLS,ROWS,W,H,LEFT,TOP,DX,DY in inches (label size,\n"
           "                   first label's corner from the page's, pitch)\n"
           "  --output FILE    the labels (.pdf or .rtf), or the CSV of --append (.csv;\n"
           "                   default: standard output)\n"
           "  --paper PAPER    letter (default) or a4\n"
           "  --fit FIT        one (default): every label at the size of the longest item;\n"
           "                   each: every label at the largest size it fits\n"
           "  --offset X,Y     move the whole page X in right and Y in down (-1 to 1 each)\n"
           "                   for a printer that prints off centre (RTF: the table)\n"
           "  --scale S        scale the page about its centre by S (0.8 to 1.25; PDF)\n"
           "  --outline        draw every label's outline (PDF), with or without items:\n"
           "                   an empty list makes one alignment page to hold to the stock\n"
           "  --crop-marks     draw marks at every label's corners (PDF), as --outline\n"
           "  --first-label N  start on label N of the first page (a sheet partly used)\n"
           "  --copies N       put each item on N labels (1 to 1000)\n"
           "  --copies-column N|NAME  with --csv and --sheet: put each item on as many\n"
           "                   labels as its row's column N (or NAME) says, 0 to 1000\n"
           "  --serial TEMPLATE[:STEP[:COUNT]]  make the items from a counter instead of\n"
           "                   reading them: TEMPLATE holds the first number in braces,\n"
           "                   whose digits give the width (INV-{00001}:1:500 makes\n"
           "                   INV-00001 to INV-00500); COUNT is needed without --sheet,\n"
           "                   with it the default fills the first page\n"
           "  --text           print the data in plain type under each bar code\n"
           "  --csv            read a CSV file (quoted fields; separated by commas,\n"
           "                   semicolons or tabs, as its first line shows) ...\n"
           "  --column N|NAME  ... taking the items from its column N (from 1), or the\n"
           "                   column of that name with --header ...\n"
           "  --header         ... whose first row holds the column names\n"
           "  --separator SEP  comma, semicolon or tab: the CSV's separator, when the\n"
           "                   first line does not show it\n"
           "  --input-encoding ENC  utf-8, utf-16le, utf-16be or cp1252 (default: the\n"
           "                   byte-order mark's, else UTF-8, or cp1252 where the\n"
           "                   bytes are not UTF-8)\n"
           "  --append         write the CSV back with a column of font strings, in the\n"
           "                   file's own encoding (run again, it replaces that column)\n"
           "  --skip-bad       leave the label of an item that does not encode empty\n"
           "  --help           show this text\n"
           "  --version        show the program version\n"
           "\n"
           "Exit status: 0 all items encoded, 1 an item failed, 2 usage error,\n"
           "3 input or output failed.\n";
}

ParseOutcome ParseEncoderArguments(const std::vector<std::string>& args) {
    ParseOutcome outcome;
    EncoderOptions options;
    std::optional<BarCodeType> type;
    bool optionsDone = false;
    std::optional<std::string> pictureFiles[3];  // by PictureFormat
    std::optional<BarHeight> height;
    std::optional<double> points;
    std::optional<int> dpi;
    SheetArguments sheet;
    bool sheetTakesValue = false;

    auto fail = [&](const std::string& what) {
        outcome.status = kExitUsage;
        outcome.err = UsageError(what);
        return outcome;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsDone || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            options.items.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsDone = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const auto eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        const bool takesValue = name == "--type" || name == "--encoding" || name == "--png" ||
                                name == "--svg" || name == "--pdf" || name == "--height" ||
                                name == "--size" || name == "--dpi" ||
                                (IsSheetOption(name, sheetTakesValue) && sheetTakesValue);
        if (takesValue && !value) {
            if (i + 1 >= args.size())
                return fail("option " + name + " needs a value");
            value = args[++i];
        } else if (!takesValue && value) {
            return fail("option " + name + " takes no value");
        }

        if (name == "--help") {
            outcome.out = EncoderUsage();
            return outcome;
        }
        if (name == "--version") {
            outcome.out = "stripewright-encode " + std::string(kProgramVersion) + "\n";
            return outcome;
        }
        if (name == "--type") {
            type = TypeFromName(*value);
            if (!type)
                return fail("unknown bar code type \"" + *value + "\"");
        } else if (name == "--checksum") {
            options.checksum = true;
        } else if (name == "--encoding") {
            std::string v;
            for (char c : *value)
                v += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (v == "utf-8" || v == "utf8") {
                options.encoding = OutputEncoding::Utf8;
            } else if (v == "cp1252" || v == "windows-1252") {
                options.encoding = OutputEncoding::Cp1252;
            } else {
                return fail("unknown encoding \"" + *value + "\"");
            }
            options.encodingGiven = true;
        } else if (name == "--png" || name == "--svg" || name == "--pdf") {
            if (value->empty())
                return fail(name + " needs a file name");
            const PictureFormat format = name == "--png"   ? PictureFormat::Png
                                         : name == "--svg" ? PictureFormat::Svg
                                                           : PictureFormat::Pdf;
            std::optional<std::string>& file = pictureFiles[static_cast<int>(format)];
            if (file)
                return fail(name + " is given twice; each picture format takes one file");
            file = *value;
        } else if (name == "--height") {
            const std::string v = LowerAscii(*value);
            if (v == "short") {
                height = BarHeight::Short;
            } else if (v == "normal") {
                height = BarHeight::Normal;
            } else if (v == "tall") {
                height = BarHeight::Tall;
            } else {
                return fail("unknown bar height \"" + *value + "\" (short, normal or tall)");
            }
        } else if (name == "--size") {
            points = ParseDecimal(*value);
            if (!points || *points < kMinPicturePoints || *points > kMaxPicturePoints) {
                return fail("--size must be a number of points from " +
                            FormatNumber(kMinPicturePoints) + " to " +
                            FormatNumber(kMaxPicturePoints) + ", not \"" + *value + "\"");
            }
        } else if (name == "--dpi") {
            dpi = ParseWholeNumber(*value, kMinPngDpi, kMaxPngDpi);
            if (!dpi) {
                return fail("--dpi must be a whole number from " + std::to_string(kMinPngDpi) +
                            " to " + std::to_string(kMaxPngDpi) + ", not \"" + *value + "\"");
            }
        } else if (IsSheetOption(name, sheetTakesValue)) {
            SetSheetOption(sheet, name, value);
        } else {
            return fail("unknown option " + name);
        }
    }
    if (!type)
        return fail("missing --type");
    options.type = *type;
    if (options.checksum && !Info(*type).takesChecksum) {
        return fail("--checksum does not apply to bar code type " +
                    std::string(Info(*type).storedText));
    }
    PictureOptions picture;
    int toStandardOutput = 0;
    for (int f = 0; f < 3; ++f) {
        if (pictureFiles[f]) {
            picture.files.push_back({static_cast<PictureFormat>(f), *pictureFiles[f]});
            toStandardOutput += *pictureFiles[f] == "-";
        }
    }
    if (sheet.Any() || sheet.LayoutAny()) {
        if (!picture.files.empty())
            return fail("labels and pictures cannot be made at once");
        if (dpi)
            return fail("--dpi applies to --png only");
        if (std::string error = FinishSheetOptions(sheet, height, points, options); !error.empty())
            return fail(error);
    } else if (!picture.files.empty()) {
        if (options.items.size() != 1)
            return fail("pictures need exactly one DATA item");
        if (options.encoding != OutputEncoding::Utf8)
            return fail("--encoding does not apply to pictures");
        if (toStandardOutput > 1)
            return fail("only one picture can go to standard output");
        if (const std::string same = SameFile(picture.files); !same.empty())
            return fail(same);
        if (dpi && !pictureFiles[static_cast<int>(PictureFormat::Png)])
            return fail("--dpi applies to --png only");
        picture.height = height.value_or(BarHeight::Normal);
        picture.points = points.value_or(Info(*type).pointSize);
        picture.dpi = dpi.value_or(300);
        options.picture = std::move(picture);
    } else if (height || points || dpi) {
        return fail(std::string(height   ? "--height"
                                : points ? "--size"
                                         : "--dpi") +
                    " applies to pictures and labels only (--png, --svg, --pdf, --sheet)");
    }
    options.haveItems = !options.items.empty();
    outcome.options = std::move(options);
    return outcome;
}

}  // namespace sw
