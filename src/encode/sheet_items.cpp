#include "encode/sheet_items.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
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

// Notes, once a job each, on items that suggest the file was read in the wrong dialect: another
// dialect's separator that the first record holds as well, or NUL bytes (UTF-16 read byte by
// byte); and on other control bytes, which a scanner would send as key presses.
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
        if (!controlNoted_) {
            // Tabs and line breaks of quoted fields, and the separators that GS1 and ISO/IEC
            // 15434 data carry on purpose (EOT, GS, RS), are not noted.
            constexpr std::string_view kMeant = "\t\r\n\x04\x1D\x1E";
            for (const char c : item.data) {
                const auto b = static_cast<unsigned char>(c);
                if ((b > 0 && b < 0x20 && kMeant.find(c) == std::string_view::npos) || b == 0x7F) {
                    controlNoted_ = true;
                    return where + "the control byte " + ShowControlBytes(std::string(1, c)) +
                           ", which a scanner sends as a key press: the file probably holds "
                           "more than the data (a terminal's colour codes, say)\n";
                }
            }
        }
        return {};
    }

  private:
    char other_ = 0;
    bool separatorNoted_ = false;
    bool nulNoted_ = false;
    bool controlNoted_ = false;
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

// A digest of the items a pass reads (FNV-1a), to find the same ones again in the next.
constexpr std::uint64_t kDigestStart = 14695981039346656037ull;
std::uint64_t Digest(std::uint64_t digest, const SheetItem& item, int copies) {
    const auto add = [&](std::string_view bytes) {
        for (const char c : bytes) {
            digest ^= static_cast<unsigned char>(c);
            digest *= 1099511628211ull;
        }
    };
    add(std::to_string(item.line) + ' ' + std::to_string(copies) + ' ');
    add(item.data);
    add(std::string_view("\n", 1));
    return digest;
}

// An item held in `store`, and read back from `at` (false after the last).
void Pack(std::string& store, const SheetItem& item, int copies) {
    const auto add = [&](auto value) {
        store.append(reinterpret_cast<const char*>(&value), sizeof value);
    };
    add(static_cast<std::uint64_t>(item.line));
    add(static_cast<std::uint16_t>(copies));
    add(static_cast<std::uint32_t>(item.data.size()));
    store += item.data;
}
bool Unpack(const std::string& store, std::size_t& at, SheetItem& item, int& copies) {
    if (at >= store.size())
        return false;
    const auto take = [&](auto& value) {
        std::memcpy(&value, store.data() + at, sizeof value);
        at += sizeof value;
    };
    std::uint64_t line = 0;
    std::uint16_t count = 0;
    std::uint32_t size = 0;
    take(line);
    take(count);
    take(size);
    item.line = line;
    copies = count;
    item.data.assign(store, at, size);
    at += size;
    return true;
}

enum class Step { Record, NeedMore, End, Error };

// Parses the next record of `text` from `pos` on, blank lines skipped, and moves `pos` and
// `line` past it: only a record that ends within `text`, unless `atEnd` says that nothing
// follows.
Step NextCsvRecord(std::string_view text, std::size_t& pos, unsigned long long& line, bool atEnd,
                   char separator, std::size_t fieldLimit, CsvRecord& record, std::string& error) {
    std::size_t i = pos;
    unsigned long long at = line;
    const auto keep = [&](std::string& field, char c) {
        if (field.size() < fieldLimit)
            field += c;
    };
    while (i < text.size()) {
        record = CsvRecord{};
        record.line = at;
        record.begin = i;
        record.lastField = i;
        std::string field;
        for (;;) {
            if (i < text.size() && text[i] == '"') {
                const unsigned long long opened = at;
                ++i;
                for (;;) {
                    if (i >= text.size()) {
                        if (!atEnd)
                            return Step::NeedMore;
                        error = "line " + std::to_string(opened) + ": a quoted field is not closed";
                        return Step::Error;
                    }
                    const char c = text[i++];
                    if (c == '"') {
                        if (i >= text.size() && !atEnd)
                            return Step::NeedMore;  // a doubled quote may be cut in two
                        if (i < text.size() && text[i] == '"') {
                            keep(field, '"');
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n')
                        ++at;
                    keep(field, c);
                }
            }
            // Unquoted text, or what follows a closing quote up to the next separator.
            while (i < text.size() && text[i] != separator && text[i] != '\n') {
                if (text[i] == '\r' && i + 1 >= text.size() && !atEnd)
                    return Step::NeedMore;
                if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] != '\n')
                    break;  // a line that ends in a carriage return alone
                keep(field, text[i++]);
            }
            if (i < text.size() && text[i] == '\r') {
                record.end = i++;
                ++at;
                record.ending = "\r";
                record.fields.push_back(std::move(field));
                break;
            }
            if (i < text.size() && text[i] == separator) {
                record.fields.push_back(std::move(field));
                field.clear();
                ++i;
                record.lastField = i;
                continue;
            }
            if (i >= text.size() && !atEnd)
                return Step::NeedMore;
            // The end of the line or of the file ends the record.
            record.end = i;
            if (i < text.size()) {
                ++i;
                ++at;
                record.ending = "\n";
            }
            if (record.end > record.begin && text[record.end - 1] == '\r') {
                --record.end;
                record.ending = record.ending.empty() ? "" : "\r\n";
                if (!field.empty() && field.back() == '\r')
                    field.pop_back();
            }
            record.fields.push_back(std::move(field));
            break;
        }
        if (record.end > record.begin) {
            pos = i;
            line = at;
            return Step::Record;
        }
    }
    return atEnd ? Step::End : Step::NeedMore;
}

// The next line of `text` from `pos` on, as a record of one field (at most `limit` bytes).
Step NextLine(std::string_view text, std::size_t& pos, unsigned long long& line, bool atEnd,
              std::size_t limit, CsvRecord& record) {
    if (pos >= text.size())
        return atEnd ? Step::End : Step::NeedMore;
    const std::size_t nl = text.find('\n', pos);
    if (nl == std::string_view::npos && !atEnd)
        return Step::NeedMore;
    record = CsvRecord{};
    record.line = line++;
    record.begin = pos;
    record.end = nl == std::string_view::npos ? text.size() : nl;
    record.ending = nl == std::string_view::npos ? "" : "\n";
    if (record.end > record.begin && text[record.end - 1] == '\r') {
        --record.end;
        record.ending = record.ending.empty() ? "" : "\r\n";
    }
    record.fields.emplace_back(
        text.substr(record.begin, std::min(record.end - record.begin, limit)));
    pos = nl == std::string_view::npos ? text.size() : nl + 1;
    return Step::Record;
}

// What a file is when its first bytes are those of a program's own format rather than text;
// empty for text.
std::string_view NotText(std::string_view start) {
    if (start.starts_with("PK\x03\x04"))
        return "a ZIP archive, such as a spreadsheet's own .xlsx or .ods file";
    if (start.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return "an .xls spreadsheet file";
    if (start.starts_with("%PDF-"))
        return "a PDF document";
    return {};
}

// The input of a list job, read piece by piece as UTF-8 text: a regular file, read again from
// where it started for a second pass; a pipe read once, its first piece kept until Commit for
// the look at the first records; or, for a second pass over a pipe, all of it held in memory.
class ListInput {
  public:
    // Finds the input's encoding: from all of it, or for a pipe read once from its first piece.
    // False, with `error` set, on a read error.
    bool Open(std::FILE* in, const EncoderOptions& options, bool twice, std::string& error) {
        struct stat st {};
        const int fd = options.haveItems ? -1 : ::fileno(in);
        const off_t at =
            fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? ::ftello(in) : -1;
        if (options.haveItems) {
            for (const std::string& item : options.items) memory_ += item + "\n";
        } else if (at >= 0) {
            file_ = in;
            start_ = at;
        } else if (!twice) {
            pipe_ = in;
            keep_ = true;
        } else if (!ReadAll(in, memory_)) {
            return Failed(error);
        }
        EncodingScan scan(options.haveItems ? InputEncoding::Utf8 : options.sheet->source.encoding);
        Restart(0);
        std::string piece(kPiece, '\0');
        bool first = true;
        while (const std::size_t got = ReadBytes(piece.data(), piece.size())) {
            if (first && !options.haveItems) {
                const std::string_view kind = NotText(std::string_view(piece.data(), got));
                if (!kind.empty()) {
                    error = "it is " + std::string(kind) +
                            ", not text: save the list from the spreadsheet as CSV";
                    return false;
                }
            }
            first = false;
            scan.Add(std::string_view(piece.data(), got));
            if (pipe_ != nullptr)
                break;  // the rest is read as it comes
        }
        if (failed_)
            return Failed(error);
        encoding_ = scan.Result(pipe_ == nullptr);
        mark_ = scan.MarkSize();
        return Rewind(error);
    }

    // Read once from here on: what was kept of a pipe for a look at its start is let go.
    void Commit() { keep_ = false; }

    // Whether Rewind reads it all again (a pipe read once does not).
    bool Rereadable() const { return pipe_ == nullptr; }

    const ListEncoding& encoding() const { return encoding_; }

    // Starts again from the first character.
    bool Rewind(std::string& error) {
        if (!Restart(mark_))
            return Failed(error);
        decoder_.emplace(encoding_.encoding);
        return true;
    }

    // Appends at least `want` more bytes of text to `text`, unless the input ends first: then
    // sets `atEnd`. False, with `error` set, when the input cannot be read.
    bool More(std::string& text, std::size_t want, bool& atEnd, std::string& error) {
        std::string piece(kPiece, '\0');
        const std::size_t had = text.size();
        while (text.size() - had < want) {
            const std::size_t got = ReadBytes(piece.data(), piece.size());
            if (got == 0) {
                if (failed_)
                    return Failed(error);
                atEnd = true;
                return decoder_->Finish(error);
            }
            if (!decoder_->Decode(std::string_view(piece.data(), got), text, error))
                return false;
        }
        return true;
    }

  private:
    static constexpr std::size_t kPiece = 1 << 16;

    bool Failed(std::string& error) {
        const int e = errno;
        error = e != 0 ? std::strerror(e) : "a read failed";
        return false;
    }

    bool Restart(std::size_t offset) {
        memoryAt_ = std::min(offset, memory_.size());
        if (file_ == nullptr)
            return true;
        std::clearerr(file_);
        return ::fseeko(file_, start_ + static_cast<off_t>(offset), SEEK_SET) == 0;
    }

    std::size_t ReadBytes(char* data, std::size_t size) {
        if (file_ == nullptr && (pipe_ == nullptr || memoryAt_ < memory_.size())) {
            const std::size_t got = std::min(size, memory_.size() - memoryAt_);
            std::memcpy(data, memory_.data() + memoryAt_, got);
            memoryAt_ += got;
            if (pipe_ != nullptr && !keep_ && memoryAt_ == memory_.size()) {
                std::string().swap(memory_);
                memoryAt_ = 0;
            }
            return got;
        }
        std::FILE* from = file_ != nullptr ? file_ : pipe_;
        const std::size_t got = std::fread(data, 1, size, from);
        if (got < size && std::ferror(from))
            failed_ = true;
        if (pipe_ != nullptr && keep_) {
            memory_.append(data, got);
            memoryAt_ = memory_.size();
        }
        return got;
    }

    std::FILE* file_ = nullptr;
    off_t start_ = 0;
    std::FILE* pipe_ = nullptr;
    bool keep_ = false;  // a pipe's bytes are kept in memory_ to be read again
    std::string memory_;
    std::size_t memoryAt_ = 0;
    bool failed_ = false;
    std::size_t mark_ = 0;
    ListEncoding encoding_;
    std::optional<ListDecoder> decoder_;
};

// The records (or lines) of a list, one at a time, each with the text between it and the one
// before (blank lines and line endings). Only the record at hand is held, so memory follows the
// longest record, not the file.
class RecordStream {
  public:
    RecordStream(ListInput& input, bool csv, char separator, std::size_t fieldLimit)
        : input_(input), csv_(csv), separator_(separator), fieldLimit_(fieldLimit) {}

    // The next record, with `gap` the text before it and `raw` its own (without its line
    // ending); at the end, `done` with `gap` what follows the last record. The views last until
    // the next call. False, with `error` set, when the input cannot be read or parsed.
    bool Next(CsvRecord& record, std::string_view& gap, std::string_view& raw, bool& done,
              std::string& error) {
        done = false;
        for (;;) {
            const std::string_view text = text_;
            const Step step = csv_ ? NextCsvRecord(text, pos_, line_, atEnd_, separator_,
                                                   fieldLimit_, record, error)
                                   : NextLine(text, pos_, line_, atEnd_, fieldLimit_, record);
            if (step == Step::Error)
                return false;
            if (step == Step::Record) {
                gap = text.substr(copied_, record.begin - copied_);
                raw = text.substr(record.begin, record.end - record.begin);
                copied_ = record.end;
                return true;
            }
            if (step == Step::End) {
                gap = text.substr(copied_);
                copied_ = text.size();
                done = true;
                return true;
            }
            // Keep the text not yet handed out; read at least as much again as is held, so
            // that a long record is parsed a few times only.
            text_.erase(0, copied_);
            pos_ -= copied_;
            copied_ = 0;
            // A line longer than any item keeps only the start that shows it is too long.
            if (!csv_ && text_.size() - pos_ > fieldLimit_ &&
                !IsBlank(std::string_view(text_).substr(pos_, fieldLimit_)))
                text_.resize(pos_ + fieldLimit_);
            if (!input_.More(text_, std::max<std::size_t>(1 << 16, text_.size()), atEnd_, error)) {
                readFailed_ = true;
                return false;
            }
        }
    }

    // Whether the last failure was the input's rather than the CSV's.
    bool ReadFailed() const { return readFailed_; }

  private:
    ListInput& input_;
    bool readFailed_ = false;
    bool csv_;
    char separator_;
    std::size_t fieldLimit_;
    std::string text_;
    std::size_t pos_ = 0;     // where parsing goes on
    std::size_t copied_ = 0;  // the end of what was handed out
    unsigned long long line_ = 1;
    bool atEnd_ = false;
};

}  // namespace

std::optional<std::vector<CsvRecord>> ParseCsv(std::string_view text, std::string& error,
                                               char separator, std::size_t fieldLimit) {
    std::vector<CsvRecord> records;
    std::size_t pos = 0;
    unsigned long long line = 1;
    CsvRecord record;
    for (;;) {
        switch (NextCsvRecord(text, pos, line, true, separator, fieldLimit, record, error)) {
            case Step::Record:
                records.push_back(std::move(record));
                break;
            case Step::Error:
                return std::nullopt;
            default:
                return records;
        }
    }
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
    std::string error;
    const auto readFailed = [&] {
        return fail("stripewright-encode: cannot read the input: " + ShowControlBytes(error) + "\n",
                    kExitIoError);
    };
    const auto streamFailed = [&](const RecordStream& stream) {
        return stream.ReadFailed() ? readFailed()
                                   : fail(ShowControlBytes(error) + "\n", kExitItemFailed);
    };

    if (!sheet.dataNamesFile.empty()) {
        const std::string name = ShowControlBytes(sheet.dataNamesFile);
        std::fputs(("stripewright-encode: note: \"" + name +
                    "\" is taken as data, not read: a list or CSV file is read from standard "
                    "input (< " +
                    name + ")\n")
                       .c_str(),
                   err);
    }
    ListInput input;
    if (!input.Open(in, options, sheet.append, error))
        return readFailed();
    const ListEncoding found = input.encoding();

    // The bar code bytes of --append go in the file's own encoding; a file of ASCII alone
    // takes the one asked for.
    InputEncoding written = found.encoding;
    if (sheet.append) {
        const InputEncoding asked = options.encoding == OutputEncoding::Cp1252
                                        ? InputEncoding::Cp1252
                                        : InputEncoding::Utf8;
        if (found.ascii && !found.byteOrderMark) {
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

    // Enough bytes to tell what is wrong with any item, in any UTF-8.
    const std::size_t fieldLimit = LongestLineKept(options.type);
    // An item longer than any bar code of its type is refused before any work on it.
    const auto encode = [&](const std::string& data, std::u32string& fontString,
                            std::string& message) {
        if (TooLong(options, data, message)) {
            message = ShowControlBytes(message);
            return false;
        }
        const std::u32string text = DecodeUtf8(data);
        EncodeResult r = MakeFontString(options.type, text, options.checksum);
        if (!r.ok()) {
            message = ShowControlBytes(r.message());
            return false;
        }
        fontString = r.fontString();
        return true;
    };

    char separator = source.separator;
    if (source.csv && separator == 0) {
        std::string head;
        bool atEnd = false;
        if (!input.More(head, 1 << 16, atEnd, error) || !input.Rewind(error))
            return readFailed();
        separator = DetectSeparator(head);
    }

    // What the first two records say: the column names, the hints, and whether the first line
    // is a header read as data (it fails where the line after it encodes).
    const bool copiesFromColumn = source.copiesColumn != 0 || !source.copiesColumnName.empty();
    std::size_t column = source.csv ? static_cast<std::size_t>(source.column - 1) : 0;
    std::size_t copiesColumn = static_cast<std::size_t>(source.copiesColumn - 1);
    std::size_t headerFields = 0;
    std::size_t firstFields = 0;  // the fields of the first record, header or data
    bool replaceColumn = false;   // the file is our own output: its last column is replaced
    bool headerHint = false;
    bool anyRecord = false;
    std::optional<ItemHints> hints;
    CsvRecord record;
    std::string_view gap, raw;
    bool done = false;
    if (!source.csv) {
        hints.emplace(nullptr, separator);
        if (!sheet.append)
            input.Commit();
    } else {
        RecordStream stream(input, source.csv, separator, fieldLimit);
        std::vector<CsvRecord> first;
        while (first.size() < 2) {
            if (!stream.Next(record, gap, raw, done, error))
                return streamFailed(stream);
            if (done)
                break;
            if (!IsBlank(raw))
                first.push_back(record);
        }
        if (!input.Rewind(error))
            return readFailed();
        if (!sheet.append)
            input.Commit();
        anyRecord = !first.empty();
        firstFields = anyRecord ? first[0].fields.size() : 0;
        hints.emplace(anyRecord ? &first[0] : nullptr, separator);
        if (source.header && anyRecord) {
            const std::vector<std::string>& names = first[0].fields;
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
            headerFields = names.size();
            replaceColumn = sheet.append && names.size() >= 2 && names.back() == kAppendedHeader &&
                            column + 1 < names.size();
        } else if (!source.columnName.empty() || !source.copiesColumnName.empty()) {
            return fail("stripewright-encode: the file is empty: it has no column names\n",
                        kExitUsage);
        }
        if (!source.header && first.size() == 2 && column < first[0].fields.size() &&
            column < first[1].fields.size()) {
            std::u32string unused;
            std::string message;
            headerHint = !encode(first[0].fields[column], unused, message) &&
                         encode(first[1].fields[column], unused, message);
        }
    }

    enum class Kind { Blank, Header, Item, End };
    // One pass over the list: `visit(kind)` sees each record in `record`, `gap` and `raw`, and
    // may end the pass with a status; at the end, `gap` holds what follows the last record.
    const auto pass = [&](auto&& visit) -> std::optional<int> {
        RecordStream stream(input, source.csv, separator, fieldLimit);
        bool headerSeen = !(source.csv && source.header);
        for (;;) {
            if (!stream.Next(record, gap, raw, done, error))
                return streamFailed(stream);
            if (done)
                return visit(Kind::End);
            Kind kind = Kind::Item;
            if (IsBlank(raw)) {
                kind = Kind::Blank;
            } else if (!headerSeen) {
                kind = Kind::Header;
                headerSeen = true;
            }
            if (std::optional<int> status = visit(kind))
                return status;
        }
    };

    // The item of `record`: its data, its font string or what is wrong with it, and its copies.
    std::size_t itemNumber = 0;  // within the pass
    const auto itemOf = [&](SheetItem& item, int& copies) -> std::string {
        const std::vector<std::string>& fields = record.fields;
        item = {record.line, column < fields.size() ? fields[column] : std::string(), {}};
        copies = 1;
        std::optional<int> count = 1;
        if (copiesFromColumn && copiesColumn < fields.size())
            count = ParseWholeNumber(Trimmed(fields[copiesColumn]), 0, kMaxCopies);
        const bool first = itemNumber++ == 0;
        if (column >= fields.size())
            return "there is no column " + std::to_string(column + 1);
        if (copiesFromColumn && copiesColumn >= fields.size())
            return "there is no column " + std::to_string(copiesColumn + 1);
        if (!count) {
            return "the number of copies \"" + ShowControlBytes(fields[copiesColumn]) +
                   "\" is not a whole number from 0 to " + std::to_string(kMaxCopies);
        }
        copies = *count;
        std::string message;
        if (encode(item.data, item.fontString, message))
            return {};
        if (first && headerHint)
            message += " (line " + std::to_string(item.line) +
                       " looks like a header row: "
                       "--header skips it)";
        return message;
    };

    // The first pass encodes every item: it makes the labels' list, or writes the font strings
    // of --csv alone, or checks the items of --append before anything is written.
    SheetJob job{options.type, sheet, {}, {}};
    bool anySkipped = false;
    // What the sheet writer will be handed: the items that make labels, and a digest of them
    // (their lines, data and copies) that each later pass must find again.
    unsigned long long labelItems = 0;
    std::uint64_t digest = kDigestStart;
    // A pipe cannot be read again: the items that make labels are held instead, as their lines,
    // copies and data alone (cut where they are too long for a bar code), packed one after the
    // other; their font strings are made again when they are read.
    const bool holdItems = !sheet.append && !sheet.fontStrings && !input.Rereadable();
    std::string held;
    std::string lines;  // the font strings of --csv alone, not yet written
    const auto flushLines = [&] {
        const bool ok = WriteOut(out, lines);
        lines.clear();
        return ok;
    };
    std::optional<int> stopped = pass([&](Kind kind) -> std::optional<int> {
        if (kind != Kind::Item)
            return std::nullopt;
        // The column added to a row longer than the first would stand under no heading, or
        // another's.
        if (sheet.append && record.fields.size() > firstFields) {
            return fail("line " + std::to_string(record.line) + ": the row has " +
                            std::to_string(record.fields.size()) + " fields where the first has " +
                            std::to_string(firstFields) +
                            ": its bar code would stand in another column (a separator in an "
                            "unquoted field?); nothing was written\n",
                        kExitItemFailed);
        }
        SheetItem item;
        int copies = 1;
        std::string message = itemOf(item, copies);
        if (column < record.fields.size())
            std::fputs(hints->Note(item).c_str(), err);
        if (!message.empty()) {
            const std::string report = "line " + std::to_string(item.line) + ": " + message + "\n";
            if (!sheet.skipBad && !sheet.fontStrings)
                return fail(report, kExitItemFailed);
            std::fputs(report.c_str(), err);
            anySkipped = true;
        }
        if (sheet.fontStrings) {
            lines += FontText(item.fontString, options.encoding) + "\n";
            if (lines.size() >= (1 << 16) && !flushLines())
                return fail("stripewright-encode: cannot write the output\n", kExitIoError);
        } else if (!sheet.append && copies > 0) {
            ++labelItems;
            digest = Digest(digest, item, copies);
            if (holdItems)
                Pack(held, item, copies);
        }
        return std::nullopt;
    });
    if (stopped)
        return *stopped;

    if (sheet.fontStrings) {
        if (!flushLines())
            return fail("stripewright-encode: cannot write the output\n", kExitIoError);
        std::fflush(err);
        return anySkipped ? kExitItemFailed : kExitOk;
    }

    // A CSV of its header alone still goes back with the added column's name.
    if (sheet.append ? !anyRecord : labelItems == 0 && !sheet.Guides())
        return fail("stripewright-encode: the list holds no items\n", kExitItemFailed);

    // The second pass of --append makes the file again, piece by piece, as it is written:
    // everything between the records (line endings, blank lines) as it was, in the file's
    // encoding.
    if (sheet.append && !input.Rewind(error))
        return readFailed();
    RecordStream again(input, source.csv, separator, fieldLimit);
    bool firstPiece = true;
    bool headerSeen = !(source.csv && source.header);
    bool finished = false;
    std::string previousEnding;
    std::string failure;  // why a piece could not be made
    itemNumber = 0;
    const auto nextPiece = [&](std::string& encoded, bool& last) {
        encoded.clear();
        std::string text;
        while (!finished && text.size() < (1 << 16)) {
            if (!again.Next(record, gap, raw, done, error)) {
                failure = again.ReadFailed() ? "cannot read the input: " + ShowControlBytes(error)
                                             : ShowControlBytes(error);
                return false;
            }
            text += gap;
            if (done) {
                finished = true;
                break;
            }
            if (IsBlank(raw)) {
                text += raw;
                continue;
            }
            const bool header = !headerSeen;
            headerSeen = true;
            const bool cut = replaceColumn && record.fields.size() == headerFields;
            text += raw.substr(0, (cut ? record.lastField - 1 : record.end) - record.begin);
            // A row shorter than the first is filled with empty fields, so that its bar code
            // stands in the bar code column.
            const std::size_t width = firstFields - (replaceColumn ? 1 : 0);
            for (std::size_t k = record.fields.size() - (cut ? 1 : 0); k < width; ++k)
                text += separator;
            text += separator;
            if (header) {
                text += CsvField(kAppendedHeader, separator);
            } else {
                SheetItem item;
                int copies = 1;
                itemOf(item, copies);
                text += CsvField(EncodeUtf8(item.fontString), separator);
            }
            // The last record gets a line ending too when the file's others have one.
            if (record.ending.empty())
                text += previousEnding;
            previousEnding = record.ending;
        }
        if (!EncodeListText(text, written, firstPiece && found.byteOrderMark, encoded)) {
            failure = "the bar codes cannot be written in " + std::string(EncodingName(written));
            return false;
        }
        firstPiece = false;
        last = finished;
        return true;
    };
    // The sheet writer's passes read the items again, one at a time, and check that they are
    // the ones the first pass found.
    std::optional<RecordStream> reread;
    unsigned long long reItems = 0;
    std::uint64_t reDigest = kDigestStart;
    std::size_t heldAt = 0;
    const auto readItem = [&](bool restart, SheetItem& item, int& copies, bool& end) {
        if (holdItems) {
            if (restart)
                heldAt = 0;
            end = !Unpack(held, heldAt, item, copies);
            if (!end) {
                std::string unused;
                if (!encode(item.data, item.fontString, unused))
                    item.fontString.clear();  // skipped: the label stays empty
            }
            return true;
        }
        if (restart) {
            if (!input.Rewind(error)) {
                failure = "cannot read the input: " + ShowControlBytes(error);
                return false;
            }
            reread.emplace(input, source.csv, separator, fieldLimit);
            headerSeen = !(source.csv && source.header);
            itemNumber = 0;
            reItems = 0;
            reDigest = kDigestStart;
        }
        for (;;) {
            if (!reread->Next(record, gap, raw, end, error)) {
                failure = reread->ReadFailed() ? "cannot read the input: " + ShowControlBytes(error)
                                               : ShowControlBytes(error);
                return false;
            }
            if (end) {
                if (reItems == labelItems && reDigest == digest)
                    return true;
                failure = "the input changed while it was read; nothing was written";
                return false;
            }
            if (IsBlank(raw))
                continue;
            if (!headerSeen) {
                headerSeen = true;
                continue;
            }
            itemOf(item, copies);
            if (copies > 0) {
                ++reItems;
                reDigest = Digest(reDigest, item, copies);
                return true;
            }
        }
    };
    if (!sheet.append)
        job.readItem = readItem;

    if (sheet.append && sheet.output.empty()) {
        std::string piece;
        for (bool last = false; !last;) {
            if (!nextPiece(piece, last))
                return fail("stripewright-encode: " + failure + "\n", kExitIoError);
            if (std::fwrite(piece.data(), 1, piece.size(), out) != piece.size())
                return fail("stripewright-encode: cannot write the output\n", kExitIoError);
        }
        if (!WriteOut(out, {}))
            return fail("stripewright-encode: cannot write the output\n", kExitIoError);
    } else if (sheet.append) {
        job.csvPieces = nextPiece;
    }
    if (!sheet.append || !sheet.output.empty()) {
        if (!sheets)
            return fail("stripewright-encode: this build cannot write label sheets\n", kExitUsage);
        const WriteOutcome outcome = sheets(job, sheet.output);
        if (outcome.status != kExitOk) {
            return fail(
                "stripewright-encode: " + (failure.empty() ? outcome.message : failure) + "\n",
                outcome.status);
        }
    }
    if (anySkipped) {
        return fail(std::string("stripewright-encode: ") +
                        (sheet.append ? "the bar code column of the lines above is left empty\n"
                                      : "the labels of the lines above are left empty\n"),
                    kExitItemFailed);
    }
    std::fflush(err);
    return kExitOk;
}

}  // namespace sw
