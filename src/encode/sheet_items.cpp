#include "encode/sheet_items.h"

#include <cerrno>
#include <cstring>

#include "barcode/make.h"
#include "barcode/text.h"
#include "encode/line_encoding.h"
#include "encode/list_text.h"
#include "encode/option_values.h"

namespace sw {
namespace {

constexpr std::string_view kAppendedHeader = "Bar code";

bool ReadAll(std::FILE* in, std::string& text) {
    char buffer[1 << 16];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, in);
        text.append(buffer, got);
        if (got < sizeof buffer)
            break;
    }
    return !std::ferror(in);
}

// A line of spaces and tabs alone: no item, but a line of the file all the same.
bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Finds the column called `name`: the same text, or else the same letters in any case and
// without spaces around them.
bool FindColumn(const std::vector<std::string>& names, std::string_view name, std::size_t& column) {
    for (std::size_t pass = 0; pass < 2; ++pass) {
        for (std::size_t f = 0; f < names.size(); ++f) {
            if (pass == 0 ? names[f] == name
                          : LowerAscii(Trimmed(names[f])) == LowerAscii(Trimmed(name))) {
                column = f;
                return true;
            }
        }
    }
    return false;
}

// The items of the list, one a line; blank lines are skipped but counted. An item keeps at most
// `limit` bytes.
std::vector<SheetItem> LineItems(std::string_view text, std::size_t limit) {
    std::vector<SheetItem> items;
    unsigned long long line = 0;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        const std::string_view raw = StripCr(text.substr(0, nl));
        ++line;
        if (!IsBlank(raw))
            items.push_back({line, std::string(raw.substr(0, limit)), {}});
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    }
    return items;
}

// Notes, once a job each, on items that suggest the file was read in the wrong dialect: another
// dialect's separator that the first record holds as well, or NUL bytes (UTF-16 read byte by
// byte).
class ItemHints {
  public:
    ItemHints(const CsvRecord* first, char separator) {
        if (first == nullptr)
            return;
        for (const char c : {';', '\t', ','}) {
            for (const std::string& field : first->fields) {
                if (c != separator && other_ == 0 && field.find(c) != std::string::npos)
                    other_ = c;
            }
        }
    }

    std::string Note(const SheetItem& item) {
        const std::string where =
            "stripewright-encode: note: line " + std::to_string(item.line) + ": the item holds ";
        if (other_ != 0 && !separatorNoted_ && item.data.find(other_) != std::string::npos) {
            separatorNoted_ = true;
            const bool tab = other_ == '\t';
            const std::string name = tab ? "tab" : other_ == ';' ? "semicolon" : "comma";
            return where + (tab ? "tabs" : "\"" + std::string(1, other_) + "\"") +
                   ", as does the first line: the file is probably separated by " + name +
                   "s (--separator " + name + ")\n";
        }
        if (!nulNoted_ && item.data.find('\0') != std::string::npos) {
            nulNoted_ = true;
            return where +
                   "NUL bytes: the file is probably UTF-16 without its byte-order mark "
                   "(--input-encoding utf-16le or utf-16be)\n";
        }
        return {};
    }

  private:
    char other_ = 0;
    bool separatorNoted_ = false;
    bool nulNoted_ = false;
};

std::string FontText(std::u32string_view fontString, OutputEncoding encoding) {
    std::string bytes;
    if (encoding == OutputEncoding::Cp1252)
        AppendCp1252(fontString, bytes);
    else
        AppendUtf8(fontString, bytes);
    return bytes;
}

bool WriteOut(std::FILE* out, std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() &&
           std::fflush(out) == 0 && !std::ferror(out);
}

}  // namespace

std::optional<std::vector<CsvRecord>> ParseCsv(std::string_view text, std::string& error,
                                               char separator, std::size_t fieldLimit) {
    std::vector<CsvRecord> records;
    std::size_t i = 0;
    unsigned long long line = 1;
    const auto keep = [&](std::string& field, char c) {
        if (field.size() < fieldLimit)
            field += c;
    };
    while (i < text.size()) {
        CsvRecord record;
        record.line = line;
        record.begin = i;
        record.lastField = i;
        std::string field;
        bool recordDone = false;
        while (!recordDone) {
            if (i < text.size() && text[i] == '"') {
                const unsigned long long opened = line;
                ++i;
                for (;;) {
                    if (i >= text.size()) {
                        error = "line " + std::to_string(opened) + ": a quoted field is not closed";
                        return std::nullopt;
                    }
                    const char c = text[i++];
                    if (c == '"') {
                        if (i < text.size() && text[i] == '"') {
                            keep(field, '"');
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n')
                        ++line;
                    keep(field, c);
                }
            }
            // Unquoted text, or what follows a closing quote up to the next separator.
            while (i < text.size() && text[i] != separator && text[i] != '\n')
                keep(field, text[i++]);
            if (i < text.size() && text[i] == separator) {
                record.fields.push_back(std::move(field));
                field.clear();
                ++i;
                record.lastField = i;
                continue;
            }
            // The end of the line or of the file ends the record.
            record.end = i;
            if (i < text.size()) {
                ++i;
                ++line;
                record.ending = "\n";
            }
            if (record.end > record.begin && text[record.end - 1] == '\r') {
                --record.end;
                record.ending = record.ending.empty() ? "" : "\r\n";
                if (!field.empty() && field.back() == '\r')
                    field.pop_back();
            }
            record.fields.push_back(std::move(field));
            recordDone = true;
        }
        if (record.end > record.begin)
            records.push_back(std::move(record));
    }
    return records;
}

char DetectSeparator(std::string_view text) {
    constexpr char kCandidates[] = {',', ';', '\t'};
    std::size_t count[3] = {};
    bool quoted = false;
    bool started = false;  // past the blank lines before the first record
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            if (started)
                break;
            continue;
        } else if (!quoted) {
            for (std::size_t k = 0; k < 3; ++k) count[k] += c == kCandidates[k];
        }
        started = true;
    }
    std::size_t best = 0;
    for (std::size_t k = 1; k < 3; ++k) {
        if (count[k] > count[best])
            best = k;
    }
    return kCandidates[best];
}

std::string CsvField(std::string_view field, char separator) {
    if (field.find_first_of("\"\r\n") == std::string_view::npos &&
        field.find(separator) == std::string_view::npos)
        return std::string(field);
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

int RunSheets(const EncoderOptions& options, std::FILE* in, std::FILE* out, std::FILE* err,
              const SheetWriter& sheets) {
    const SheetOptions& sheet = *options.sheet;
    const ItemSource& source = sheet.source;
    const auto fail = [&](const std::string& message, int status) {
        std::fputs(message.c_str(), err);
        std::fflush(err);
        return status;
    };

    std::string bytes;
    if (options.haveItems) {
        for (const std::string& item : options.items) bytes += item + "\n";
    } else if (!ReadAll(in, bytes)) {
        const int e = errno;
        return fail(std::string("stripewright-encode: cannot read the input") +
                        (e != 0 ? std::string(": ") + std::strerror(e) : std::string()) + "\n",
                    kExitIoError);
    }
    std::string error;
    std::optional<ListText> text = DecodeListText(
        std::move(bytes), options.haveItems ? InputEncoding::Utf8 : source.encoding, error);
    if (!text)
        return fail("stripewright-encode: cannot read the input: " + error + "\n", kExitIoError);
    const std::string_view body = text->utf8;

    // The bar code bytes of --append go in the file's own encoding; a file of ASCII alone
    // takes the one asked for.
    InputEncoding written = text->encoding;
    if (sheet.append) {
        const bool free = text->ascii && !text->byteOrderMark;
        const InputEncoding asked = options.encoding == OutputEncoding::Cp1252
                                        ? InputEncoding::Cp1252
                                        : InputEncoding::Utf8;
        if (free) {
            written = asked;
        } else if (options.encodingGiven &&
                   (asked == InputEncoding::Cp1252) != (written == InputEncoding::Cp1252)) {
            return fail("stripewright-encode: the file is " + std::string(EncodingName(written)) +
                            ": its bar code column is written in the same encoding, so "
                            "--encoding " +
                            (asked == InputEncoding::Cp1252 ? "cp1252" : "utf-8") +
                            " cannot apply (leave it out)\n",
                        kExitUsage);
        }
    }

    const std::size_t longest = Info(options.type).longestData;
    // Enough bytes for the longest item in any UTF-8, and one character more.
    const std::size_t fieldLimit = 4 * longest + 4;
    SheetJob job{options.type, sheet, {}, {}};
    std::vector<CsvRecord> records;
    std::vector<std::size_t> itemRecord;  // the record of each CSV item
    std::size_t column = 0;               // from 0
    std::size_t copiesColumn = static_cast<std::size_t>(source.copiesColumn - 1);
    const bool copiesFromColumn = source.copiesColumn != 0 || !source.copiesColumnName.empty();
    std::vector<int> copies;  // of each item, with --copies-column
    char separator = ',';
    bool replaceColumn = false;  // the file is our own output: its last column is replaced
    if (source.csv) {
        separator = source.separator != 0 ? source.separator : DetectSeparator(body);
        std::optional<std::vector<CsvRecord>> parsed = ParseCsv(body, error, separator, fieldLimit);
        if (!parsed)
            return fail(ShowControlBytes(error) + "\n", kExitItemFailed);
        records = std::move(*parsed);
        column = static_cast<std::size_t>(source.column - 1);
        if (source.header && !records.empty()) {
            const std::vector<std::string>& names = records[0].fields;
            std::string missing;
            if (!source.columnName.empty() && !FindColumn(names, source.columnName, column))
                missing = source.columnName;
            if (!source.copiesColumnName.empty() &&
                !FindColumn(names, source.copiesColumnName, copiesColumn))
                missing = source.copiesColumnName;
            if (!missing.empty()) {
                std::string list;
                for (const std::string& name : names)
                    list += (list.empty() ? "" : ", ") + CsvField(name, separator);
                return fail("stripewright-encode: the header has no column \"" +
                                ShowControlBytes(missing) +
                                "\" (its columns: " + ShowControlBytes(list) + ")\n",
                            kExitUsage);
            }
            replaceColumn = sheet.append && names.size() >= 2 && names.back() == kAppendedHeader &&
                            column + 1 < names.size();
        } else if (!source.columnName.empty() || !source.copiesColumnName.empty()) {
            return fail("stripewright-encode: the file is empty: it has no column names\n",
                        kExitUsage);
        }
        for (std::size_t r = source.header ? 1 : 0; r < records.size(); ++r) {
            const CsvRecord& record = records[r];
            if (IsBlank(body.substr(record.begin, record.end - record.begin)))
                continue;
            job.items.push_back(
                {record.line, column < record.fields.size() ? record.fields[column] : "", {}});
            itemRecord.push_back(r);
        }
    } else {
        job.items = LineItems(body, fieldLimit);
    }

    // Every item is encoded before anything is written.
    std::string skipped;
    std::string notes;
    bool anySkipped = false;
    ItemHints hints(source.csv && !records.empty() ? &records[0] : nullptr, separator);
    for (std::size_t k = 0; k < job.items.size(); ++k) {
        SheetItem& item = job.items[k];
        std::string message;
        const std::vector<std::string>* fields =
            source.csv ? &records[itemRecord[k]].fields : nullptr;
        std::optional<int> count = 1;
        if (fields != nullptr && copiesFromColumn) {
            count = copiesColumn < fields->size()
                        ? ParseWholeNumber(Trimmed((*fields)[copiesColumn]), 0, kMaxCopies)
                        : std::nullopt;
            copies.push_back(count.value_or(1));
        }
        if (fields != nullptr && column >= fields->size()) {
            message = "there is no column " + std::to_string(column + 1);
        } else if (fields != nullptr && copiesFromColumn && copiesColumn >= fields->size()) {
            message = "there is no column " + std::to_string(copiesColumn + 1);
        } else if (!count) {
            message = "the number of copies \"" + ShowControlBytes((*fields)[copiesColumn]) +
                      "\" is not a whole number from 0 to " + std::to_string(kMaxCopies);
        } else {
            notes += hints.Note(item);
            const std::u32string data = DecodeUtf8(item.data);
            if (data.size() > longest) {
                message = "the item is longer than the " + std::to_string(longest) +
                          " characters a bar code of type " +
                          std::string(Info(options.type).storedText) + " can hold";
            } else {
                EncodeResult r = MakeFontString(options.type, data, options.checksum);
                if (r.ok()) {
                    item.fontString = r.fontString();
                    continue;
                }
                message = ShowControlBytes(r.message());
                // A header row read as data fails where the rows after it encode.
                if (k == 0 && source.csv && !source.header && job.items.size() > 1 &&
                    MakeFontString(options.type, DecodeUtf8(job.items[1].data), options.checksum)
                        .ok()) {
                    message += " (line " + std::to_string(item.line) +
                               " looks like a header row: --header skips it)";
                }
            }
        }
        const std::string report = "line " + std::to_string(item.line) + ": " + message + "\n";
        if (!sheet.skipBad && !sheet.fontStrings)
            return fail(notes + report, kExitItemFailed);
        skipped += report;
        anySkipped = true;
    }

    // Each item as many times as its row asks.
    if (!copies.empty()) {
        std::vector<SheetItem> repeated;
        for (std::size_t k = 0; k < job.items.size(); ++k) {
            for (int c = 0; c < copies[k]; ++c) repeated.push_back(job.items[k]);
        }
        job.items = std::move(repeated);
    }

    if (sheet.fontStrings) {
        std::string lines;
        for (const SheetItem& item : job.items)
            lines += FontText(item.fontString, options.encoding) + "\n";
        std::fputs((notes + skipped).c_str(), err);
        if (!WriteOut(out, lines))
            return fail("stripewright-encode: cannot write the output\n", kExitIoError);
        std::fflush(err);
        return anySkipped ? kExitItemFailed : kExitOk;
    }
    std::fputs(notes.c_str(), err);

    // A CSV of its header alone still goes back with the added column's name.
    if (job.items.empty() && !(sheet.append && !records.empty()))
        return fail("stripewright-encode: the list holds no items\n", kExitItemFailed);

    if (sheet.append) {
        // Everything between the records (line endings, blank lines) is kept as it is.
        std::string csv;
        std::size_t copied = 0;
        std::size_t k = 0;
        const CsvRecord* previous = nullptr;
        const std::size_t headerFields = records.empty() ? 0 : records[0].fields.size();
        for (std::size_t r = 0; r < records.size(); ++r) {
            const CsvRecord& record = records[r];
            csv.append(body.substr(copied, record.begin - copied));
            copied = record.end;
            const bool header = source.header && r == 0;
            if (!header && (k >= itemRecord.size() || itemRecord[k] != r)) {
                csv.append(body.substr(record.begin, record.end - record.begin));
                continue;
            }
            const bool cut = replaceColumn && record.fields.size() == headerFields;
            csv.append(body.substr(record.begin,
                                   (cut ? record.lastField - 1 : record.end) - record.begin));
            csv += separator;
            if (header)
                csv += CsvField(kAppendedHeader, separator);
            else
                csv += CsvField(EncodeUtf8(job.items[k++].fontString), separator);
            // The last record gets a line ending too when the file's others have one.
            if (record.ending.empty() && previous != nullptr)
                csv += previous->ending;
            previous = &record;
        }
        csv.append(body.substr(copied));
        std::string encoded;
        if (!EncodeListText(csv, written, text->byteOrderMark, encoded))
            return fail("stripewright-encode: the bar codes cannot be written in " +
                            std::string(EncodingName(written)) + "\n",
                        kExitIoError);
        if (sheet.output.empty()) {
            if (!WriteOut(out, encoded))
                return fail("stripewright-encode: cannot write the output\n", kExitIoError);
        } else {
            job.csv = std::move(encoded);
        }
    }
    if (!sheet.append || !sheet.output.empty()) {
        if (!sheets)
            return fail("stripewright-encode: this build cannot write label sheets\n", kExitUsage);
        const WriteOutcome outcome = sheets(job, sheet.output);
        if (outcome.status != kExitOk)
            return fail(skipped + "stripewright-encode: " + outcome.message + "\n", outcome.status);
    }
    if (anySkipped) {
        return fail(skipped + "stripewright-encode: " +
                        (sheet.append ? "the bar code column of the lines above is left empty\n"
                                      : "the labels of the lines above are left empty\n"),
                    kExitItemFailed);
    }
    std::fflush(err);
    return kExitOk;
}

}  // namespace sw
