#include "encode/sheet_items.h"

#include <cerrno>
#include <cstring>

#include "barcode/make.h"
#include "barcode/text.h"
#include "encode/line_encoding.h"

namespace sw {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
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

// The items of the list, one a line: every line is an item, as for the text output.
std::vector<SheetItem> LineItems(std::string_view text) {
    std::vector<SheetItem> items;
    unsigned long long line = 0;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        const std::string_view raw = text.substr(0, nl);
        items.push_back({++line, std::string(StripCr(raw)), {}});
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    }
    return items;
}

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

std::optional<std::vector<CsvRecord>> ParseCsv(std::string_view text, std::string& error) {
    std::vector<CsvRecord> records;
    std::size_t i = 0;
    unsigned long long line = 1;
    while (i < text.size()) {
        CsvRecord record;
        record.line = line;
        record.begin = i;
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
                            field += '"';
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n')
                        ++line;
                    field += c;
                }
            }
            // Unquoted text, or what follows a closing quote up to the next separator.
            while (i < text.size() && text[i] != ',' && text[i] != '\n') field += text[i++];
            if (i < text.size() && text[i] == ',') {
                record.fields.push_back(std::move(field));
                field.clear();
                ++i;
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

std::string CsvField(std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos)
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
    const auto fail = [&](const std::string& message, int status) {
        std::fputs(message.c_str(), err);
        std::fflush(err);
        return status;
    };

    std::string text;
    if (options.haveItems) {
        for (const std::string& item : options.items) text += item + "\n";
    } else if (!ReadAll(in, text)) {
        const int e = errno;
        return fail(std::string("stripewright-encode: cannot read the input") +
                        (e != 0 ? std::string(": ") + std::strerror(e) : std::string()) + "\n",
                    kExitIoError);
    }
    const bool bom = std::string_view(text).substr(0, kByteOrderMark.size()) == kByteOrderMark;
    const std::string_view body = std::string_view(text).substr(bom ? kByteOrderMark.size() : 0);

    SheetJob job{options.type, sheet, {}, {}};
    std::vector<CsvRecord> records;
    if (sheet.source.csv) {
        std::string error;
        std::optional<std::vector<CsvRecord>> parsed = ParseCsv(body, error);
        if (!parsed)
            return fail(error + "\n", kExitItemFailed);
        records = std::move(*parsed);
        const auto column = static_cast<std::size_t>(sheet.source.column - 1);
        for (std::size_t r = sheet.source.header ? 1 : 0; r < records.size(); ++r) {
            const CsvRecord& record = records[r];
            job.items.push_back(
                {record.line, column < record.fields.size() ? record.fields[column] : "", {}});
        }
    } else {
        job.items = LineItems(body);
    }

    // Every item is encoded before anything is written.
    std::string skipped;
    bool anySkipped = false;
    const std::size_t firstRecord = sheet.source.csv && sheet.source.header ? 1 : 0;
    for (std::size_t k = 0; k < job.items.size(); ++k) {
        SheetItem& item = job.items[k];
        std::string message;
        if (sheet.source.csv && static_cast<std::size_t>(sheet.source.column) >
                                    records[firstRecord + k].fields.size()) {
            message = "there is no column " + std::to_string(sheet.source.column);
        } else {
            EncodeResult r = MakeFontString(options.type, DecodeUtf8(item.data), options.checksum);
            if (r.ok()) {
                item.fontString = r.fontString();
                continue;
            }
            message = r.message();
        }
        const std::string report = "line " + std::to_string(item.line) + ": " + message + "\n";
        if (!sheet.skipBad)
            return fail(report, kExitItemFailed);
        skipped += report;
        anySkipped = true;
    }
    // A CSV of its header alone still goes back with the added column's name.
    if (job.items.empty() && !(sheet.append && !records.empty()) && !sheet.Guides())
        return fail("stripewright-encode: the list holds no items\n", kExitItemFailed);

    if (sheet.append) {
        std::string csv(bom ? kByteOrderMark : std::string_view());
        for (std::size_t r = 0; r < records.size(); ++r) {
            const CsvRecord& record = records[r];
            csv.append(body.substr(record.begin, record.end - record.begin));
            csv += ',';
            if (r < firstRecord)
                csv += CsvField(kAppendedHeader);
            else
                csv += CsvField(FontText(job.items[r - firstRecord].fontString, options.encoding));
            // The last record gets a line ending too when the file's others have one.
            csv += record.ending.empty() && r > 0 ? records[r - 1].ending : record.ending;
        }
        if (sheet.output.empty()) {
            if (!WriteOut(out, csv))
                return fail("stripewright-encode: cannot write the output\n", kExitIoError);
        } else {
            job.csv = std::move(csv);
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
