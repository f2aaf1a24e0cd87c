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
    return (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size()) &&
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

// Which fields of a record a CsvParser keeps, holds back or cuts short.
struct CsvFields {
    std::size_t keep = std::string_view::npos;  // how many fields of a record to keep
    // The bytes of this field and the separator before it are held back from Settled()
    // until its record ends, and refused past `heldLimit` bytes.
    std::size_t held = std::string_view::npos;
    std::size_t heldLimit = std::string_view::npos;
    // A record ends early, with this field as its last, once the field is longer than
    // `fieldLimit`.
    std::size_t cutLong = std::string_view::npos;
    // Fields are kept until they take this many bytes; then only the last one, as the tail.
    std::size_t budget = std::string_view::npos;
    std::size_t sure = 0;  // the first fields, kept whatever the budget
};

// Splits CSV text into records as it comes, piece by piece: its state is kept between the
// pieces, so a record that spans many pieces is read once, and only the fields asked for are kept
// (each at most `fieldLimit` bytes). Offsets count from the start of the whole text.
class CsvParser {
  public:
    static constexpr std::size_t kAll = std::string_view::npos;

    CsvParser(char separator, std::size_t fieldLimit, CsvFields fields = {})
        : separator_(separator), fieldLimit_(fieldLimit), fields_(fields) {}

    // Parses on from `pos` through `text`, which holds the whole text from offset `base` on, and
    // moves `pos` past what it read; blank lines are skipped. Step::Record with `record` when one
    // ends, NeedMore when `text` runs out first (unless `atEnd` says nothing follows).
    Step Parse(std::string_view text, std::size_t base, std::size_t& pos, bool atEnd,
               CsvRecord& record, std::string& error) {
        const std::size_t stop = base + text.size();
        while (pos < stop) {
            const char c = text[pos - base];
            switch (state_) {
                case State::LineStart:
                    if (c == '\r' && pos + 1 >= stop && !atEnd)
                        return Step::NeedMore;
                    if (c == '\n' || c == '\r') {  // an empty line
                        pos += c == '\r' && pos + 1 < stop && text[pos + 1 - base] == '\n' ? 2 : 1;
                        ++line_;
                        continue;
                    }
                    current_ = CsvRecord{};
                    current_.line = line_;
                    current_.begin = current_.lastField = pos;
                    field_.clear();
                    state_ = State::FieldStart;
                    continue;
                case State::FieldStart:
                    if (c == '"') {
                        opened_ = line_;
                        current_.blank = false;
                        ++pos;
                        state_ = State::Quoted;
                    } else {
                        state_ = State::Unquoted;
                    }
                    continue;
                case State::Quoted: {
                    // The run of bytes up to the next quote, at once.
                    const std::size_t quote = text.find('"', pos - base);
                    const std::size_t runEnd =
                        quote == std::string_view::npos ? stop : base + quote;
                    const std::string_view run = text.substr(pos - base, runEnd - pos);
                    for (std::size_t nl = run.find('\n'); nl != std::string_view::npos;
                         nl = run.find('\n', nl + 1))
                        ++line_;
                    Keep(run);
                    pos = runEnd;
                    if (tooLong_)
                        return Cut(pos, record);
                    if (pos < stop) {
                        ++pos;
                        state_ = State::QuoteSeen;
                    }
                    continue;
                }
                case State::QuoteSeen:  // a doubled quote, or the closing one
                    if (c == '"') {
                        Keep("\"");
                        ++pos;
                        state_ = State::Quoted;
                    } else {
                        state_ = State::Unquoted;
                    }
                    continue;
                case State::Unquoted:
                    if (c == '\n') {
                        current_.ending = "\n";
                        if (Finish(pos++, record))
                            return Step::Record;
                        continue;
                    }
                    if (c == '\r') {
                        crAt_ = pos++;
                        state_ = State::CrSeen;
                        continue;
                    }
                    if (c != ' ' && c != '\t')
                        current_.blank = false;
                    ++pos;
                    if (c == separator_) {
                        EndField();
                        current_.lastField = pos;
                        state_ = State::FieldStart;
                    } else {
                        // The run of plain bytes up to the next separator or line break, at once.
                        const std::size_t from = pos - 1;
                        for (; pos < stop; ++pos) {
                            const char d = text[pos - base];
                            if (d == separator_ || d == '\n' || d == '\r')
                                break;
                            if (d != ' ' && d != '\t')
                                current_.blank = false;
                        }
                        Keep(text.substr(from - base, pos - from));
                        if (tooLong_)
                            return Cut(pos, record);
                    }
                    continue;
                case State::CrSeen:  // a CR alone ends a line too
                    if (c == '\n')
                        ++pos;
                    current_.ending = c == '\n' ? "\r\n" : "\r";
                    if (Finish(crAt_, record))
                        return Step::Record;
                    continue;
            }
        }
        if (!atEnd) {
            if (Held() && pos - current_.lastField > fields_.heldLimit) {
                error = "line " + std::to_string(current_.line) + ": column " +
                        std::to_string(fields_.held + 1) + " holds more than " +
                        std::to_string(fields_.heldLimit) + " bytes, too many to write back";
                return Step::Error;
            }
            return Step::NeedMore;
        }
        switch (state_) {
            case State::LineStart:
                return Step::End;
            case State::Quoted:
                error = "line " + std::to_string(opened_) + ": a quoted field is not closed";
                return Step::Error;
            case State::CrSeen:
                current_.ending = "";
                return Finish(crAt_, record) ? Step::Record : Step::End;
            default:
                current_.ending = "";
                return Finish(pos, record) ? Step::Record : Step::End;
        }
    }

    // Asks for other fields from the next record on.
    void SetFields(const CsvFields& fields) { fields_ = fields; }

    // Where the text that no record needs again ends, for a parse that has reached `pos`: the
    // held field and a carriage return that may end the line stay.
    std::size_t Settled(std::size_t pos) const {
        if (Held())
            return current_.lastField - 1;
        return state_ == State::CrSeen ? crAt_ : pos;
    }

  private:
    enum class State { LineStart, FieldStart, Quoted, QuoteSeen, Unquoted, CrSeen };

    bool Held() const { return state_ != State::LineStart && current_.fieldCount == fields_.held; }

    void Keep(std::string_view bytes) {
        if (current_.fieldCount >= fields_.keep || cut_)
            return;
        if (bytes.size() > fieldLimit_ - field_.size() && current_.fieldCount == fields_.cutLong &&
            !current_.blank)
            tooLong_ = true;
        if (field_.size() < fieldLimit_)
            field_.append(bytes.substr(0, fieldLimit_ - field_.size()));
    }

    void EndField(bool last = false) {
        const std::size_t index = current_.fieldCount++;
        if (!cut_ && index < fields_.keep && (!full_ || index < fields_.sure)) {
            keptBytes_ += sizeof(std::string) + field_.size();
            full_ = keptBytes_ > fields_.budget;
            current_.fields.push_back(std::move(field_));
        } else if (!cut_ && last && full_) {
            current_.tail = std::move(field_);
        }
        field_.clear();
    }

    // Ends the record at hand at `end`: true when it goes out as `record`, false when its start
    // went out already.
    bool Finish(std::size_t end, CsvRecord& record) {
        EndField(true);
        keptBytes_ = 0;
        full_ = false;
        current_.end = end;
        if (!current_.ending.empty())
            ++line_;
        state_ = State::LineStart;
        if (cut_) {
            cut_ = false;
            return false;
        }
        record = std::move(current_);
        return true;
    }

    // Hands out the record at hand as it is so far, its last field the one that is too long,
    // and reads the rest of it without keeping any of it.
    Step Cut(std::size_t end, CsvRecord& record) {
        record = current_;
        record.fields.push_back(field_);
        ++record.fieldCount;
        record.end = end;
        current_.fields.clear();
        field_.clear();
        tooLong_ = false;
        cut_ = true;
        return Step::Record;
    }

    char separator_;
    std::size_t fieldLimit_;
    CsvFields fields_;
    bool tooLong_ = false;       // the field at hand went past `cutLong`'s limit
    bool cut_ = false;           // the record at hand went out already
    std::size_t keptBytes_ = 0;  // of the record at hand's fields
    bool full_ = false;          // over the budget: no more of its fields are kept
    State state_ = State::LineStart;
    CsvRecord current_;
    std::string field_;
    std::size_t crAt_ = 0;
    unsigned long long line_ = 1;
    unsigned long long opened_ = 0;
};

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

// The records (or lines) of a list, one at a time. Only the text not yet parsed is held, with,
// when the text is kept for writing back, the text not yet handed out: memory follows the fields
// kept, not the record.
class RecordStream {
  public:
    // `keepText`: hand out the text around and of each record, piece by piece; else only the
    // records, their fields as CsvParser keeps them.
    RecordStream(ListInput& input, bool csv, char separator, std::size_t fieldLimit,
                 bool keepText = false, CsvFields fields = {})
        : input_(input),
          csv_(csv),
          keepText_(keepText),
          fieldLimit_(fieldLimit),
          parser_(separator, fieldLimit, fields) {}

    // The next record, with `gap` the text before it not yet handed out and `raw` its own rest
    // (without its line ending; record.begin moved to its start); or, with `partial`, text of
    // the record at hand (or before it) that is handed out ahead of it; or at the end, `done`
    // with `gap` what follows the last record. `gap` and `raw` stay empty unless the text is
    // kept, and last until the next call. False, with `error` set, when the input cannot be
    // read or parsed.
    bool Next(CsvRecord& record, std::string_view& gap, std::string_view& raw, bool& done,
              std::string& error, bool* partial = nullptr) {
        done = false;
        if (partial != nullptr)
            *partial = false;
        gap = raw = {};
        for (;;) {
            const std::string_view text = text_;
            Step step;
            if (csv_) {
                step = parser_.Parse(text, base_, pos_, atEnd_, record, error);
            } else {
                std::size_t at = pos_ - base_;
                step = NextLine(text, at, line_, atEnd_, fieldLimit_, record);
                pos_ = base_ + at;
                if (step == Step::Record) {
                    record.blank = IsBlank(text.substr(record.begin, record.end - record.begin));
                    record.begin += base_;
                    record.end += base_;
                    record.fieldCount = 1;
                }
            }
            if (step == Step::Error)
                return false;
            if (step == Step::Record) {
                const std::size_t from = std::max(copied_, record.begin);
                if (keepText_) {
                    gap = text.substr(copied_ - base_, from - copied_);
                    raw = text.substr(from - base_, record.end - from);
                }
                record.begin = from;
                copied_ = record.end;
                return true;
            }
            if (step == Step::End) {
                if (keepText_)
                    gap = text.substr(copied_ - base_);
                copied_ = base_ + text.size();
                done = true;
                return true;
            }
            if (keepText_ && csv_ && partial != nullptr) {
                const std::size_t settled = parser_.Settled(pos_);
                if (settled > copied_) {
                    gap = text.substr(copied_ - base_, settled - copied_);
                    copied_ = settled;
                    *partial = true;
                    return true;
                }
            }
            // Let go of the text that is neither to be parsed nor to be handed out.
            const std::size_t drop = (keepText_ || !csv_ ? copied_ : pos_) - base_;
            text_.erase(0, drop);
            base_ += drop;
            copied_ = std::max(copied_, base_);
            // A line longer than any item keeps only the start that shows it is too long.
            const std::size_t at = pos_ - base_;
            if (!csv_ && text_.size() - at > fieldLimit_ &&
                !IsBlank(std::string_view(text_).substr(at, fieldLimit_)))
                text_.resize(at + fieldLimit_);
            // A line is looked for from its start each time: read as much again as is held.
            const std::size_t want = csv_ ? 1 << 16 : std::max<std::size_t>(1 << 16, text_.size());
            if (!input_.More(text_, want, atEnd_, error)) {
                readFailed_ = true;
                return false;
            }
        }
    }

    // Whether the last failure was the input's rather than the CSV's.
    bool ReadFailed() const { return readFailed_; }

    // Asks for other fields from the next record on.
    void SetFields(const CsvFields& fields) { parser_.SetFields(fields); }

  private:
    ListInput& input_;
    bool readFailed_ = false;
    bool csv_;
    bool keepText_;
    std::size_t fieldLimit_;
    CsvParser parser_;
    std::string text_;
    std::size_t base_ = 0;    // where text_ starts in the whole text
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
    CsvParser parser(separator, fieldLimit);
    CsvRecord record;
    for (;;) {
        switch (parser.Parse(text, 0, pos, true, record, error)) {
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
    // The bytes a record may hold where it cannot pass through field by field.
    const std::size_t recordLimit = std::max<std::size_t>(1 << 20, 64 * fieldLimit);
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
    std::vector<CsvRecord> opening;     // the first two records
    std::optional<RecordStream> ahead;  // a pipe's records after them
    bool aheadDone = false;             // the pipe ended with them
    if (!source.csv) {
        hints.emplace(nullptr, separator);
        if (!sheet.append)
            input.Commit();
    } else {
        // A pipe read once is not read again for the first pass: its first records are held
        // and the pass goes on from them.
        if (!input.Rereadable())
            input.Commit();
        CsvFields firstKept;
        firstKept.budget = recordLimit;
        firstKept.sure = std::max(column, copiesFromColumn ? copiesColumn : 0) + 1;
        ahead.emplace(input, source.csv, separator, fieldLimit, false, firstKept);
        while (opening.size() < 2) {
            if (!ahead->Next(record, gap, raw, done, error))
                return streamFailed(*ahead);
            if (done)
                break;
            if (!record.blank)
                opening.push_back(record);
        }
        if (input.Rereadable()) {
            ahead.reset();
            if (!input.Rewind(error))
                return readFailed();
            if (!sheet.append)
                input.Commit();
        } else {
            aheadDone = done;
        }
        anyRecord = !opening.empty();
        firstFields = anyRecord ? opening[0].fieldCount : 0;
        hints.emplace(anyRecord ? &opening[0] : nullptr, separator);
        if (source.header && anyRecord) {
            const std::vector<std::string>& names = opening[0].fields;
            headerFields = opening[0].fieldCount;
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
                if (names.size() < headerFields)
                    list += ", ... (" + std::to_string(headerFields) + " in all)";
                return fail("stripewright-encode: the header has no column \"" +
                                ShowControlBytes(missing) +
                                "\" (its columns: " + ShowControlBytes(list) + ")\n",
                            kExitUsage);
            }
            const std::string& last = names.size() == headerFields ? names.back() : opening[0].tail;
            replaceColumn = sheet.append && headerFields >= 2 && last == kAppendedHeader &&
                            column + 1 < headerFields;
        } else if (!source.columnName.empty() || !source.copiesColumnName.empty()) {
            return fail("stripewright-encode: the file is empty: it has no column names\n",
                        kExitUsage);
        }
        if (!source.header && opening.size() == 2 && column < opening[0].fields.size() &&
            column < opening[1].fields.size()) {
            std::u32string unused;
            std::string message;
            headerHint = !encode(opening[0].fields[column], unused, message) &&
                         encode(opening[1].fields[column], unused, message);
        }
    }

    // Past the first records, only the fields used are kept, and the old bar code column of our
    // own output is held back until its record shows whether it is replaced. An item too long
    // for any bar code ends the first pass as soon as it shows, when it fails the job and its
    // record holds nothing more to check (the copies column comes before it).
    CsvFields kept;
    kept.keep = std::max(column, copiesFromColumn ? copiesColumn : 0) + 1;
    kept.held = replaceColumn ? headerFields - 1 : CsvParser::kAll;
    kept.heldLimit = recordLimit;
    const bool stopsAtBadItem = !sheet.skipBad && !sheet.fontStrings;
    const auto fieldsFor = [&](bool keepText) {
        CsvFields f = kept;
        if (!keepText && stopsAtBadItem && (!copiesFromColumn || copiesColumn < column))
            f.cutLong = column;
        return f;
    };
    const auto stream = [&](bool keepText) {
        return RecordStream(input, source.csv, separator, fieldLimit, keepText,
                            fieldsFor(keepText));
    };

    enum class Kind { Blank, Header, Item, End };
    // One pass over the list: `visit(kind)` sees each record in `record`, `gap` and `raw`, and
    // may end the pass with a status; at the end, `gap` holds what follows the last record.
    const auto pass = [&](auto&& visit) -> std::optional<int> {
        std::optional<RecordStream> fresh;
        if (ahead)
            ahead->SetFields(fieldsFor(false));
        else
            fresh.emplace(stream(false));
        RecordStream& records = ahead ? *ahead : *fresh;
        std::size_t replayed = ahead ? 0 : opening.size();
        bool headerSeen = !(source.csv && source.header);
        for (;;) {
            if (replayed < opening.size()) {
                record = opening[replayed++];
                done = false;
            } else if (ahead && aheadDone) {
                done = true;
            } else if (!records.Next(record, gap, raw, done, error)) {
                return streamFailed(records);
            }
            if (done)
                return visit(Kind::End);
            Kind kind = Kind::Item;
            if (record.blank) {
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
        if (sheet.append && record.fieldCount > firstFields) {
            return fail("line " + std::to_string(record.line) + ": the row has " +
                            std::to_string(record.fieldCount) + " fields where the first has " +
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
    RecordStream again = stream(true);
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
            bool partial = false;
            if (!again.Next(record, gap, raw, done, error, &partial)) {
                failure = again.ReadFailed() ? "cannot read the input: " + ShowControlBytes(error)
                                             : ShowControlBytes(error);
                return false;
            }
            text += gap;
            if (partial)
                continue;
            if (done) {
                finished = true;
                break;
            }
            if (record.blank) {
                text += raw;
                continue;
            }
            const bool header = !headerSeen;
            headerSeen = true;
            const bool cut = replaceColumn && record.fieldCount == headerFields;
            text += raw.substr(0, (cut ? record.lastField - 1 : record.end) - record.begin);
            // A row shorter than the first is filled with empty fields, so that its bar code
            // stands in the bar code column.
            const std::size_t width = firstFields - (replaceColumn ? 1 : 0);
            for (std::size_t k = record.fieldCount - (cut ? 1 : 0); k < width; ++k)
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
            reread.emplace(input, source.csv, separator, fieldLimit, false, kept);
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
            if (record.blank)
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
