// The list behind a sheet of labels: items read one a line or from a column of a CSV file, and
// the CSV written back with the font strings. Standard C++ only.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "encode/encoder_options.h"

namespace sw {

// One record of a CSV file: its fields, the line where it starts and where its text lies in
// the file (without its line ending).
struct CsvRecord {
    unsigned long long line = 0;
    std::vector<std::string> fields;
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t lastField = 0;   // where the last field starts
    std::string_view ending;     // "\n", "\r\n" or "" at the end of the file
    std::size_t fieldCount = 0;  // `fields` may keep only the first few
    std::string tail;            // the last field, when `fields` stops short of it
    bool blank = true;           // its text is spaces and tabs alone
};

// Splits `text` (a byte-order mark already removed) into records: fields separated by
// `separator`, quoted fields holding separators, doubled quotes and line breaks; lines end in
// LF, CRLF or CR alone. Blank lines hold no record. A field keeps at most `fieldLimit` bytes (the
// record's text keeps them all). Nothing, with `error` set, when a quoted field is never closed.
std::optional<std::vector<CsvRecord>> ParseCsv(std::string_view text, std::string& error,
                                               char separator = ',',
                                               std::size_t fieldLimit = std::string_view::npos);

// The separator a CSV file uses: the comma, semicolon or tab that its first record holds most
// often outside quotes, as spreadsheet programs find it; the comma when it holds none.
char DetectSeparator(std::string_view text);

// A field as a CSV file holds it: quoted when it has the separator, a quote or a line break.
std::string CsvField(std::string_view field, char separator = ',');

// Runs a sheet job or the CSV write-back of `options`: reads the items, encodes them, and hands
// the job to `sheets` (or writes the CSV to `out`). Returns the exit status.
int RunSheets(const EncoderOptions& options, std::FILE* in, std::FILE* out, std::FILE* err,
              const SheetWriter& sheets);

}  // namespace sw
