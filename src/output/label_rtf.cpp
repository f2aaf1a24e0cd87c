#include "output/label_rtf.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace sw {
namespace {

// The closing paragraph that RTF needs after a table: one twentieth of a point high, so that
// it still fits on the page below the last row.
constexpr int kClosingLineTwips = 20;
// How much lower than the sheet's bottom margin the page's text area may reach.
constexpr int kBottomSlackTwips = 144;
// Text pasted or typed into a label: 10 pt, readable and small enough for the lowest labels.
constexpr int kLabelFontHalfPoints = 20;

void Append(std::string& out, std::string_view word, int value) {
    out += word;
    out += std::to_string(value);
}

std::string Inches(double value) {
    // Two decimals, as the dialog shows label sizes ("1.75", "4.00", "3.33").
    const long hundredths = std::lround(value * 100);
    std::string s = std::to_string(hundredths / 100) + ".";
    const long rest = hundredths % 100;
    if (rest < 10)
        s += '0';
    s += std::to_string(rest);
    return s;
}

}  // namespace

int Twips(double inches) {
    return static_cast<int>(std::lround(inches * kTwipsPerInch));
}

TemplateLayout LayOutSheet(const SheetGeometry& sheet, double paperWidth, double paperHeight) {
    TemplateLayout t;
    t.paperWidth = Twips(paperWidth);
    t.paperHeight = Twips(paperHeight);
    t.marginLeft = Twips(sheet.x0);
    t.marginTop = Twips(sheet.y0);
    // Rounded down, so the text area is never wider than the labels leave room for.
    t.marginRight = std::max(
        0, static_cast<int>(std::floor(sheet.RightMargin(paperWidth) * kTwipsPerInch + 1e-6)));
    t.marginBottom = std::max(
        0, Twips(sheet.BottomMargin(paperHeight) + sheet.dy - sheet.height) - kBottomSlackTwips);

    // Each edge comes from its exact position on the page, rounded once, so that rounding
    // never accumulates along a row or down the page.
    for (int r = 0; r < sheet.rows; ++r) {
        const int top = Twips(sheet.y0 + r * sheet.dy);
        const int bottom = Twips(sheet.y0 + r * sheet.dy + sheet.height);
        t.rowHeights.push_back(bottom - top);
    }
    for (int c = 0; c < sheet.columns; ++c) {
        const double left = sheet.x0 + c * sheet.dx;
        t.cellEdges.push_back(Twips(left + sheet.width) - t.marginLeft);
        t.isLabelCell.push_back(true);
        const bool gutter = sheet.dx > sheet.width;
        if (c + 1 < sheet.columns && gutter) {
            t.cellEdges.push_back(Twips(left + sheet.dx) - t.marginLeft);
            t.isLabelCell.push_back(false);
        }
    }
    return t;
}

std::string LabelTemplateRtf(const LabelChoice& choice) {
    const SheetGeometry& sheet = choice.sheet;
    FilledSheet empty;
    empty.title = "Labels " + std::string(choice.stockNumber) + ": " +
                  std::string(choice.perSheet) + " per sheet, " + Inches(sheet.width) + " x " +
                  Inches(sheet.height) + " in";
    return FilledSheetRtf(sheet, empty);
}

std::string FilledSheetRtf(const SheetGeometry& sheet, const FilledSheet& fill) {
    const TemplateLayout t = LayOutSheet(sheet, fill.paperWidth, fill.paperHeight);
    std::string out;
    out.reserve(4096 +
                1024 * static_cast<std::size_t>(sheet.Labels() * (fill.flush ? 1 : fill.pages)));

    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n";
    out += "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}" + fill.fonts + "}\n";
    out += "{\\info{\\title " + fill.title + "}{\\author Stripewright}}\n";

    const auto page = [&](std::string_view suffix) {
        Append(out, std::string("\\paperw") + std::string(suffix), t.paperWidth);
        Append(out, std::string("\\paperh") + std::string(suffix), t.paperHeight);
    };
    page("");
    Append(out, "\\margl", t.marginLeft);
    Append(out, "\\margr", t.marginRight);
    Append(out, "\\margt", t.marginTop);
    Append(out, "\\margb", t.marginBottom);
    out += "\\deftab720\\widowctrl\\viewkind1\\viewscale100\n";
    // The same page again for the one section, for readers that only look there.
    Append(out, "\\sectd\\sbknone\\pgwsxn", t.paperWidth);
    Append(out, "\\pghsxn", t.paperHeight);
    Append(out, "\\marglsxn", t.marginLeft);
    Append(out, "\\margrsxn", t.marginRight);
    Append(out, "\\margtsxn", t.marginTop);
    Append(out, "\\margbsxn", t.marginBottom);
    out += "\n";

    // Exact row height (negative), nothing to the left of the first cell, no gap between
    // cells, no padding, never split across pages.
    const auto rowStart = [&](int height) {
        out += "\\trowd\\trgaph0\\trleft0";
        Append(out, "\\trrh", -height);
        out +=
            "\\trkeep\\trpaddl0\\trpaddr0\\trpaddt0\\trpaddb0"
            "\\trpaddfl3\\trpaddfr3\\trpaddft3\\trpaddfb3\n";
    };
    // Where the rows of a sheet do not touch, an empty row of the gap's height lies between.
    const int rowGap = Twips(sheet.y0 + sheet.dy) - Twips(sheet.y0 + sheet.height);
    // The closing paragraph must fit under the last row of the last page, or the word
    // processor starts a blank page for it. Where the sheet leaves no room there (no bottom
    // margin), that one row gives up the paragraph's height: a seventy-second of an inch off
    // the bottom of the last labels, whose text is centred well clear of it.
    const int tableBottom = Twips(sheet.y0 + (sheet.rows - 1) * sheet.dy + sheet.height);
    const int roomBelow = t.paperHeight - t.marginBottom - tableBottom;
    const int lastRowTrim = std::max(0, kClosingLineTwips - roomBelow);
    long long label = 0;
    for (long long p = 0; p < fill.pages; ++p) {
        for (int r = 0; r < sheet.rows; ++r) {
            if (r > 0 && rowGap > 0) {
                rowStart(rowGap);
                out +=
                    "\\clpadl0\\clpadt0\\clpadr0\\clpadb0\\clpadfl3\\clpadft3\\clpadfr3\\clpadfb3";
                Append(out, "\\cellx", t.cellEdges.back());
                out += "\n\\pard\\plain\\intbl\\li0\\ri0\\sb0\\sa0\\ql\\f0\\fs2\\cell\n\\row\n";
            }
            const bool lastRow = p + 1 == fill.pages && r + 1 == sheet.rows;
            rowStart(t.rowHeights[static_cast<std::size_t>(r)] - (lastRow ? lastRowTrim : 0));
            for (std::size_t c = 0; c < t.cellEdges.size(); ++c) {
                out +=
                    "\\clvertalc\\clpadl0\\clpadt0\\clpadr0\\clpadb0"
                    "\\clpadfl3\\clpadft3\\clpadfr3\\clpadfb3";
                Append(out, "\\cellx", t.cellEdges[c]);
                out += "\n";
            }
            for (std::size_t c = 0; c < t.cellEdges.size(); ++c) {
                out += "\\pard\\plain\\intbl\\li0\\ri0\\sb0\\sa0";
                if (t.isLabelCell[c]) {
                    out += "\\qc\\f0";
                    Append(out, "\\fs", kLabelFontHalfPoints);
                    if (fill.label)
                        out += fill.label(label);
                    ++label;
                } else {
                    out += "\\ql\\f0\\fs2";
                }
                out += "\\cell\n";
            }
            out += "\\row\n";
        }
        if (fill.flush && !fill.flush(out))
            return {};
    }
    // RTF ends with a paragraph after the table; keep it tiny so it stays on the last page.
    out += "\\pard\\plain\\li0\\ri0\\sb0\\sa0";
    Append(out, "\\sl-", kClosingLineTwips);
    out += "\\slmult0\\f0\\fs2\\par\n}\n";
    return out;
}

}  // namespace sw
