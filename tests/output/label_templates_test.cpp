// The sheet table and the label templates generated from it, read back from the RTF.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "output/label_rtf.h"
#include "output/label_sheets.h"

namespace sw {
namespace {

// What a word processor takes from a template: document settings and the table's rows.
struct ParsedTemplate {
    std::map<std::string, int> document;  // the first value of each page and margin word
    struct Row {
        int height = 0;
        std::vector<int> cellEdges;
        int cells = 0;
        bool keep = false;
    };
    std::vector<Row> rows;
    int closingLineTwips = 0;  // exact line height of the paragraph after the table
    int paragraphsAfterTable = 0;
};

ParsedTemplate Parse(const std::string& rtf) {
    ParsedTemplate t;
    static const std::regex word(R"(\\([a-z]+)(-?\d+)?)");
    bool inRow = false, afterTable = false;
    for (auto it = std::sregex_iterator(rtf.begin(), rtf.end(), word); it != std::sregex_iterator();
         ++it) {
        const std::string name = (*it)[1];
        const int value = (*it)[2].matched ? std::stoi((*it)[2]) : 0;
        if (name == "trowd") {
            t.rows.emplace_back();
            inRow = true;
        } else if (inRow && name == "trrh") {
            t.rows.back().height = value;
        } else if (inRow && name == "trkeep") {
            t.rows.back().keep = true;
        } else if (inRow && name == "cellx") {
            t.rows.back().cellEdges.push_back(value);
        } else if (inRow && name == "cell") {
            ++t.rows.back().cells;
        } else if (name == "row") {
            inRow = false;
            afterTable = true;
        } else if (afterTable && name == "sl") {
            t.closingLineTwips = -value;
        } else if (afterTable && name == "par") {
            ++t.paragraphsAfterTable;
        } else if (!afterTable && !inRow && !t.document.contains(name)) {
            t.document[name] = value;
        }
    }
    return t;
}

std::string Name(const LabelChoice& c) {
    return std::string(c.fileName);
}

double ToTwips(double inches) {
    return inches * 1440;
}

// Checks a template against the sheet it was made for.
void ExpectFitsSheet(const std::string& rtf, const LabelChoice& choice) {
    SCOPED_TRACE(Name(choice));
    const SheetGeometry& s = choice.sheet;
    const ParsedTemplate t = Parse(rtf);
    ASSERT_TRUE(rtf.starts_with("{\\rtf1"));
    EXPECT_EQ(t.document.at("paperw"), 12240);
    EXPECT_EQ(t.document.at("paperh"), 15840);
    const int left = t.document.at("margl");
    const int top = t.document.at("margt");
    EXPECT_NEAR(left, ToTwips(s.x0), 0.5);
    EXPECT_NEAR(top, ToTwips(s.y0), 0.5);
    EXPECT_LE(t.document.at("margr"), ToTwips(s.RightMargin(kLetterWidth)));
    EXPECT_GE(t.document.at("margr"), 0);
    EXPECT_LT(t.document.at("margb"), ToTwips(s.BottomMargin(kLetterHeight)));
    EXPECT_GE(t.document.at("margb"), 0);

    ASSERT_EQ(static_cast<int>(t.rows.size()), s.rows);
    int rowTop = top;
    for (int r = 0; r < s.rows; ++r) {
        SCOPED_TRACE("row " + std::to_string(r + 1));
        const ParsedTemplate::Row& row = t.rows[static_cast<std::size_t>(r)];
        // Negative: exactly this high, never taller when something is pasted in.
        EXPECT_LT(row.height, 0);
        EXPECT_NEAR(rowTop, ToTwips(s.y0 + r * s.dy), 0.5);
        rowTop -= row.height;
        EXPECT_NEAR(rowTop, ToTwips(s.y0 + r * s.dy + s.height), 0.5);
        EXPECT_TRUE(row.keep);

        // Labels alternate with spacer cells over the gutters; every edge sits within half a
        // twip of its exact place on the sheet, so nothing drifts along the row.
        ASSERT_EQ(static_cast<int>(row.cellEdges.size()), 2 * s.columns - 1);
        EXPECT_EQ(row.cells, 2 * s.columns - 1);
        for (int c = 0; c < s.columns; ++c) {
            const double labelLeft = s.x0 + c * s.dx;
            const int leftEdge = c == 0 ? 0 : row.cellEdges[static_cast<std::size_t>(2 * c - 1)];
            EXPECT_NEAR(left + leftEdge, ToTwips(labelLeft), 0.5) << "column " << c + 1;
            EXPECT_NEAR(left + row.cellEdges[static_cast<std::size_t>(2 * c)],
                        ToTwips(labelLeft + s.width), 0.5)
                << "column " << c + 1;
        }
    }
    // The closing paragraph still fits above the bottom margin: the document is one page.
    EXPECT_EQ(t.paragraphsAfterTable, 1);
    EXPECT_GT(t.closingLineTwips, 0);
    EXPECT_LE(rowTop + t.closingLineTwips, t.document.at("paperh") - t.document.at("margb"));
    const auto braces = std::count(rtf.begin(), rtf.end(), '{');
    EXPECT_EQ(braces, std::count(rtf.begin(), rtf.end(), '}'));
}

TEST(LabelSheets, TableAgreesWithItself) {
    std::set<std::string_view> files;
    for (const LabelChoice& c : kLabelChoices) {
        SCOPED_TRACE(std::string(c.button));
        EXPECT_TRUE(files.insert(c.fileName).second);
        std::string button = "L";  // appended, not "L" + ...: GCC 12 warns falsely on that at -O3
        button += std::to_string(c.labelSize);
        EXPECT_EQ(c.button, button);
        if (c.IsCustom())
            continue;
        EXPECT_EQ(std::to_string(c.sheet.Labels()), c.perSheet);
        // Templates are named after the last three digits of the stock number, except the
        // 5160 one, which has always been "lt060.rtf".
        if (c.stockNumber != "5160") {
            EXPECT_EQ(c.fileName, "lt" + std::string(c.stockNumber.substr(1)) + ".rtf");
        }
        // The size the dialog shows is the label's, to the hundredth.
        std::ostringstream size;
        size.setf(std::ios::fixed);
        size.precision(c.sheet.width == 2.625 ? 3 : 2);
        size << c.sheet.width << " x ";
        size.precision(2);
        size << c.sheet.height;
        EXPECT_EQ(size.str(), c.size);
    }
}

TEST(LabelSheets, StoredValueSelectsChoice) {
    const struct {
        int stored;
        std::string_view file;
    } cases[] = {{1, "lt167.rtf"},   {2, "lt570.rtf"},   {4, "lt161.rtf"},
                 {8, "lt164.rtf"},   {9, "custom.rtf"},  {0, "custom.rtf"},
                 {-1, "custom.rtf"}, {10, "custom.rtf"}, {12, "custom.rtf"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ChoiceForLabelSize(c.stored).fileName, c.file) << c.stored;
    }
    EXPECT_EQ(ChoiceForLabelSize(kDefaultLabelSize).perSheet, "20");
    EXPECT_EQ(ChoiceForLabelSize(0).labelSize, kCustomLabelSize);
}

TEST(LabelTemplates, EachTemplateFitsItsSheet) {
    for (std::size_t i = 0; i < kSheetCount; ++i) {
        ExpectFitsSheet(LabelTemplateRtf(kLabelChoices[i]), kLabelChoices[i]);
    }
}

TEST(LabelTemplates, EdgesOfTheSheetWithAnUnevenPitchDoNotDrift) {
    // 1.938 in is 2790.72 twips: summing rounded widths would end 2 twips short by the
    // fourth label.
    const TemplateLayout t = LayOutSheet(ChoiceForLabelSize(2).sheet);
    EXPECT_EQ(t.cellEdges, (std::vector<int>{2520, 2791, 5311, 5581, 8101, 8372, 10892}));
    EXPECT_EQ(t.marginLeft, 720);
    EXPECT_EQ(t.marginRight, 627);
}

TEST(LabelTemplates, LabelCellsAreCentredAndRepeatOnEveryRow) {
    const std::string rtf = LabelTemplateRtf(ChoiceForLabelSize(3));
    // 30 labels in 10 rows of 3, each cell centred both ways; spacers are not.
    std::size_t centred = 0;
    for (auto at = rtf.find("\\qc"); at != std::string::npos; at = rtf.find("\\qc", at + 1)) {
        ++centred;
    }
    EXPECT_EQ(centred, 30u);
    EXPECT_NE(rtf.find("\\cellx3780\n\\clvertalc\\clpadl0\\clpadt0\\clpadr0\\clpadb0\\clpadfl3"
                       "\\clpadft3\\clpadfr3\\clpadfb3\\cellx4005"),
              std::string::npos);
}

TEST(LabelTemplates, BuiltTemplatesAreTheGeneratedOnes) {
    const std::filesystem::path folder = SW_TEMPLATE_DIR;
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        found.insert(entry.path().filename().string());
    }
    std::set<std::string> expected;
    for (std::size_t i = 0; i < kSheetCount; ++i) {
        const LabelChoice& c = kLabelChoices[i];
        expected.insert(Name(c));
        std::ifstream in(folder / Name(c), std::ios::binary);
        const std::string content((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(content, LabelTemplateRtf(c)) << Name(c);
    }
    EXPECT_EQ(found, expected);
}

}  // namespace
}  // namespace sw

namespace sw {
namespace {

// A filled sheet of several pages: each page's rows fill its text area so that the next label
// row cannot fit and starts the next page at the top margin; rows with a gap between them get
// an empty row of that height; every label gets its own content in order.
TEST(FilledSheets, PagesFollowEachOtherAtTheSheetsPlaces) {
    const SheetGeometry sheet{3, 4, 2.5, 1.5, 0.5, 0.75, 2.6, 2.5};  // A4, 1 in between rows
    FilledSheet fill;
    fill.paperWidth = 210 / 25.4;
    fill.paperHeight = 297 / 25.4;
    fill.pages = 2;
    fill.label = [](long long label) { return " L" + std::to_string(label) + "."; };
    const std::string rtf = FilledSheetRtf(sheet, fill);
    const ParsedTemplate t = Parse(rtf);

    ASSERT_EQ(t.rows.size(), 2u * (2 * 4 - 1));
    int used = 0;
    for (std::size_t r = 0; r < 7; ++r) {
        EXPECT_EQ(t.rows[r].height, r % 2 == 0 ? -Twips(1.5) : -Twips(1.0)) << r;
        EXPECT_EQ(t.rows[r].height, t.rows[r + 7].height) << r;
        used -= t.rows[r].height;
    }
    const int area = t.document.at("paperh") - t.document.at("margt") - t.document.at("margb");
    EXPECT_EQ(t.document.at("margt"), Twips(0.75));
    EXPECT_EQ(t.document.at("paperh"), Twips(297 / 25.4));
    EXPECT_LE(used + t.closingLineTwips, area);
    EXPECT_GT(used + Twips(1.5), area) << "the next page's first row would fit on this page";
    for (long long label = 0; label < 24; ++label) {
        EXPECT_NE(rtf.find(" L" + std::to_string(label) + ".\\cell"), std::string::npos) << label;
    }
    EXPECT_EQ(rtf.find(" L24."), std::string::npos);
}

// A sheet whose last row reaches the paper's edge: the closing paragraph still fits on the last
// page (no blank page after it), taken from the last row only.
TEST(FilledSheets, NoBottomMarginAddsNoBlankPage) {
    const SheetGeometry sheet{2, 5, 4.25, 2.2, 0, 0, 4.25, 2.2};  // 5 x 2.2 in = 11 in
    FilledSheet fill;
    fill.pages = 2;
    const ParsedTemplate t = Parse(FilledSheetRtf(sheet, fill));
    ASSERT_EQ(t.rows.size(), 10u);
    int lastPage = 0;
    for (std::size_t r = 0; r < 10; ++r) {
        EXPECT_EQ(t.rows[r].height, r == 9 ? -Twips(2.2) + t.closingLineTwips : -Twips(2.2)) << r;
        lastPage -= r >= 5 ? t.rows[r].height : 0;
    }
    const int area = t.document.at("paperh") - t.document.at("margt") - t.document.at("margb");
    EXPECT_LE(lastPage + t.closingLineTwips, area);
}

}  // namespace
}  // namespace sw
