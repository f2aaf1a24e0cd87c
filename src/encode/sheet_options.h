// Sheets of labels from a list: what the command line asks for and what the sheet writer gets.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "barcode/catalogue.h"
#include "encode/list_text.h"
#include "encode/write_outcome.h"
#include "output/label_sheets.h"

namespace sw {

enum class SheetFormat { Pdf, Rtf };

struct SheetPaper {
    std::string_view name;
    double width;  // inches
    double height;
};

inline constexpr SheetPaper kLetterPaper{"letter", kLetterWidth, kLetterHeight};
inline constexpr SheetPaper kA4Paper{"a4", 210 / 25.4, 297 / 25.4};

// Where the items come from: one a line, or one column of a CSV file.
struct ItemSource {
    bool csv = false;
    int column = 0;  // from 1; 0 when the column is named
    bool header = false;
    std::string columnName;  // --column NAME: the header's column of that name
    char separator = 0;      // ',', ';' or '\t'; 0: the one the file's first record uses
    InputEncoding encoding = InputEncoding::Auto;
    int copiesColumn = 0;          // --copies-column N: each row's copies, from 1; 0: none
    std::string copiesColumnName;  // --copies-column NAME
};

// A sheet job (--sheet) or a CSV written back with the font strings (--csv --append).
struct SheetOptions {
    ItemSource source;
    bool append = false;       // --csv --append: no sheet, the CSV with one more column
    bool fontStrings = false;  // --csv alone: the column's font strings, one a line
    std::string output;        // the file; empty: standard output (CSV only)
    SheetFormat format = SheetFormat::Pdf;
    std::string sheetName;  // the stock number, or "custom"
    SheetGeometry sheet{};
    SheetPaper paper = kLetterPaper;
    int firstLabel = 1;  // from 1
    int copies = 1;
    BarHeight height = BarHeight::Normal;
    double points = 0;  // 0: the largest that fits (see fitEach)
    // Without --size: each label at the largest size its own bar code fits, rather than every
    // label at the one size the longest item fits.
    bool fitEach = false;
    // Printer calibration (PDF): the whole page moved right and down, in inches, and scaled
    // about its centre.
    double offsetX = 0;
    double offsetY = 0;
    double scale = 1;
    // Guides for lining the printer up with the stock (PDF): every label's outline, and marks
    // at its corners, on every label of every page, with or without bar codes.
    bool outline = false;
    bool cropMarks = false;
    // Guides make a page even without items: the alignment page.
    bool Guides() const { return outline || cropMarks; }
    bool text = false;  // the data in plain type under the bar code
    bool skipBad = false;
    // A DATA item that is the name of an existing file: the list is read from standard input,
    // so the job notes that the name itself is taken as data.
    std::string dataNamesFile;
};

inline constexpr int kMaxCopies = 1000;
inline constexpr double kMaxOffset = 1;  // inches either way
inline constexpr double kMinScale = 0.8;
inline constexpr double kMaxScale = 1.25;

// One item of the list: the data, the line of the input where it starts, and its font string
// (empty for an item that did not encode and was skipped: its label stays empty).
struct SheetItem {
    unsigned long long line = 0;
    std::string data;
    std::u32string fontString;
};

struct SheetJob {
    BarCodeType type;
    SheetOptions options;
    std::vector<SheetItem> items;  // the items held, one for each label of its own
    // Or the items read from the list one at a time, as often as the writer runs through them
    // (valid during the writer's call only): each call sets `item` to the next one and `copies`
    // to the labels it makes (--copies aside), or sets `done` after the last; `restart` starts
    // again from the first. False when the list cannot be read (again) as it was.
    std::function<bool(bool restart, SheetItem& item, int& copies, bool& done)> readItem{};
    std::string csv{};  // --csv --append to a file: the whole CSV to write
    // Or the CSV made piece by piece while it is written: each call sets `piece` to the next
    // bytes and `last` on the last one; false when they cannot be made. Valid during the call
    // of the writer only.
    std::function<bool(std::string& piece, bool& last)> csvPieces{};
};

// Runs through the items of a job, held or read, from the first.
class SheetItems {
  public:
    explicit SheetItems(const SheetJob& job) : job_(job) {}

    // The next item and the labels it makes of its own (--copies aside), or `done` after the
    // last. False when the list cannot be read.
    bool Next(SheetItem& item, int& copies, bool& done) {
        const bool restart = at_ == 0;
        ++at_;
        if (job_.readItem)
            return job_.readItem(restart, item, copies, done);
        done = at_ > job_.items.size();
        if (!done) {
            item = job_.items[at_ - 1];
            copies = 1;
        }
        return true;
    }

  private:
    const SheetJob& job_;
    std::size_t at_ = 0;
};

// Lays out and writes the job's labels to `file`, in full or not at all. The real one
// (sheet_output.h) needs Qt and is loaded only for sheets.
using SheetWriter = std::function<WriteOutcome(const SheetJob& job, const std::string& file)>;

// Reads a --sheet value: a stock number of the label table or "custom:COLS,ROWS,W,H,LEFT,TOP,
// DX,DY" in inches. Says what is wrong in `error` otherwise.
std::optional<SheetGeometry> SheetFromName(const std::string& name, std::string& error);

// Where label `slot` (from 0, counting across pages) of a sheet lies: page, column, row.
struct LabelPlace {
    int page;
    int column;
    int row;
};
constexpr LabelPlace PlaceOf(const SheetGeometry& sheet, long long slot) {
    const long long per = sheet.Labels();
    const long long onPage = slot % per;
    return {static_cast<int>(slot / per), static_cast<int>(onPage % sheet.columns),
            static_cast<int>(onPage / sheet.columns)};
}

}  // namespace sw
