#include "platform/ini_file.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <optional>
#include <vector>

#include "barcode/text.h"

namespace sw::platform {

// How the lines are stored: bytes read as UTF-8 (or Windows-1252, line by line, where they are
// not UTF-8), or UTF-16 in either byte order.
enum class Encoding { Bytes, Utf16LE, Utf16BE };

// A line of the file as offsets into its bytes, so that lines not written come back unchanged
// without a copy of each.
struct IniLine {
    qsizetype begin = 0;
    qsizetype length = 0;     // without the line end
    qsizetype endLength = 0;  // 0 for a last line without one
};

// The first section of a name: its header line, where keys added to it go (after its last line
// that is not blank), and whether any section of that name holds a key.
struct IniSection {
    quint64 hash = 0;
    qsizetype header = 0;
    qsizetype insertAfter = 0;
    bool hasKey = false;
    bool shared = false;  // another name has the same hash: look-ups scan the file instead
};

// The first line of a key, and the header of its section.
struct IniKey {
    quint64 hash = 0;
    qsizetype line = 0;
    qsizetype header = 0;
    bool shared = false;
};

// The file as read, split into lines and indexed by section and key in one pass over it.
struct IniDocument {
    bool readable = true;  // false: refused, every read gives its default
    QString readError;     // why it was refused
    bool missing = true;
    QByteArray raw;  // the whole file
    Encoding encoding = Encoding::Bytes;
    qsizetype headLength = 0;   // the byte-order mark, if any
    qsizetype tailLength = 0;   // a trailing odd byte of a UTF-16 file
    QByteArray lineEnd = "\n";  // for lines that are added
    std::vector<IniLine> lines;
    // One entry for each hash of a section's name, and of a section's and key's names, in the
    // order of the hashes.
    std::vector<IniSection> sections;
    std::vector<IniKey> keys;
};

namespace {

enum class Kind { Other, Section, Key };

struct Parsed {
    Kind kind = Kind::Other;
    QString name;   // section or key name
    QString value;  // key value, blanks and one pair of enclosing quotes stripped
};

const char kUtf8Bom[] = "\xEF\xBB\xBF";

bool IsAscii(const char* data, qsizetype size) {
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, 8);
        if ((word & 0x8080808080808080ull) != 0)
            return false;
    }
    for (; i < size; ++i) {
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return false;
    }
    return true;
}

QString DecodeLine(const char* data, qsizetype size) {
    if (IsAscii(data, size))
        return QString::fromLatin1(data, size);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(data, size));
    if (!utf8.hasError())
        return text;
    text.clear();
    text.reserve(size);
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        text.append(b >= 0x80 && b < 0xA0 ? QChar(kCp1252High[b - 0x80]) : QChar(b));
    }
    return text;
}

QString Text(const IniDocument& doc, const IniLine& line) {
    const char* data = doc.raw.constData() + line.begin;
    if (doc.encoding == Encoding::Bytes)
        return DecodeLine(data, line.length);
    QStringDecoder utf16(
        doc.encoding == Encoding::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
        QStringDecoder::Flag::Stateless);
    return utf16(QByteArrayView(data, line.length));
}

QByteArray Encoded(Encoding encoding, const QString& text) {
    if (encoding == Encoding::Bytes)
        return text.toUtf8();
    QStringEncoder utf16(
        encoding == Encoding::Utf16LE ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE,
        QStringEncoder::Flag::Stateless);
    return utf16(text);
}

// Parses `line`, which has no blanks at its ends; `withValue` false leaves the value out.
Parsed Parse(const QString& line, bool withValue) {
    Parsed p;
    if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
        return p;
    if (line.startsWith(u'[')) {
        const qsizetype close = line.indexOf(u']');
        p.kind = Kind::Section;
        p.name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
        return p;
    }
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0)
        return p;
    p.name = line.left(eq).trimmed();
    if (p.name.isEmpty())
        return p;
    p.kind = Kind::Key;
    if (withValue) {
        p.value = line.mid(eq + 1).trimmed();
        if (p.value.size() >= 2 && p.value.startsWith(u'"') && p.value.endsWith(u'"'))
            p.value = p.value.mid(1, p.value.size() - 2);
    }
    return p;
}

// Names are indexed by a 64-bit FNV-1a hash of their case-folded UTF-8 bytes; a key by that of
// its section's name, a line break and its own name. Two names may share a hash: a look-up
// checks the names at the line it finds, and a name that shares its hash with another is looked
// up by a scan of the file.
constexpr quint64 kHashStart = 14695981039346656037ull;

// All 64 bits, but for tests that make names share hashes.
quint64 g_hashMask = ~0ull;

quint64 Narrowed(quint64 hash) {
    return hash & g_hashMask;
}

quint64 HashByte(quint64 hash, unsigned char byte) {
    return (hash ^ byte) * 1099511628211ull;
}

quint64 HashFolded(quint64 hash, const QString& name) {
    for (const char c : name.toCaseFolded().toUtf8())
        hash = HashByte(hash, static_cast<unsigned char>(c));
    return hash;
}

// The same for a name in ASCII, whose folding is its lower case.
quint64 HashAscii(quint64 hash, const char* data, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i) {
        char c = data[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        hash = HashByte(hash, static_cast<unsigned char>(c));
    }
    return hash;
}

quint64 SectionHash(const QString& section) {
    return Narrowed(HashFolded(kHashStart, section));
}

quint64 KeyHash(quint64 sectionHash, const QString& key) {
    return Narrowed(HashFolded(HashByte(sectionHash, '\n'), key));
}

bool Same(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Whether the code unit at `i` is the ASCII character `c`.
bool UnitIs(const QByteArray& bytes, qsizetype i, char c, Encoding encoding) {
    switch (encoding) {
        case Encoding::Bytes:
            return bytes[i] == c;
        case Encoding::Utf16LE:
            return bytes[i] == c && bytes[i + 1] == 0;
        case Encoding::Utf16BE:
            return bytes[i] == 0 && bytes[i + 1] == c;
    }
    return false;
}

// The next CR or LF in [from, to), or `to`. For bytes, `cr` and `lf` keep the next of each found
// so far, so that a whole file is searched once for each.
qsizetype FindLineEnd(const QByteArray& bytes, qsizetype from, qsizetype to, Encoding encoding,
                      qsizetype& cr, qsizetype& lf) {
    if (encoding == Encoding::Bytes) {
        const char* data = bytes.constData();
        const auto next = [&](qsizetype& at, char c) {
            if (at < from) {
                const void* found = std::memchr(data + from, c, std::size_t(to - from));
                at = found ? static_cast<const char*>(found) - data : to;
            }
        };
        next(cr, '\r');
        next(lf, '\n');
        return std::min(cr, lf);
    }
    for (qsizetype i = from; i + 1 < to; i += 2) {
        if (UnitIs(bytes, i, '\n', encoding) || UnitIs(bytes, i, '\r', encoding))
            return i;
    }
    return to;
}

// Splits [from, to) into lines at LF, CRLF and lone CR; the file's first line end becomes the
// one for added lines.
void SplitLines(IniDocument& doc, qsizetype from, qsizetype to) {
    const qsizetype unit = doc.encoding == Encoding::Bytes ? 1 : 2;
    bool endSeen = false;
    qsizetype start = from;
    qsizetype cr = -1, lf = -1;
    while (start < to) {
        const qsizetype end = FindLineEnd(doc.raw, start, to, doc.encoding, cr, lf);
        IniLine line{start, end - start, 0};
        if (end + unit <= to) {
            line.endLength = unit;
            if (UnitIs(doc.raw, end, '\r', doc.encoding) && end + 2 * unit <= to &&
                UnitIs(doc.raw, end + unit, '\n', doc.encoding)) {
                line.endLength = 2 * unit;
            }
            if (!endSeen) {
                doc.lineEnd = doc.raw.mid(end, line.endLength);
                endSeen = true;
            }
        }
        doc.lines.push_back(line);
        start = line.begin + line.length + line.endLength;
    }
}

// What the index needs of a line: its kind, the hash of its name, and whether it is blank.
struct Scanned {
    Kind kind = Kind::Other;
    quint64 name = 0;
    bool blank = true;
};

bool IsAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// A section's name is hashed from the start, a key's from `keyStart` (its section's hash and a
// line break).
Scanned Scan(const IniDocument& doc, const IniLine& line, quint64 keyStart) {
    Scanned s;
    const char* data = doc.raw.constData() + line.begin;
    if (doc.encoding == Encoding::Bytes && IsAscii(data, line.length)) {
        // The common case, read as bytes: the same rules as Parse.
        qsizetype b = 0, e = line.length;
        while (b < e && IsAsciiSpace(data[b])) ++b;
        while (e > b && IsAsciiSpace(data[e - 1])) --e;
        s.blank = b == e;
        if (s.blank || data[b] == ';' || data[b] == '#')
            return s;
        if (data[b] == '[') {
            qsizetype nameEnd = b + 1;
            while (nameEnd < e && data[nameEnd] != ']') ++nameEnd;
            qsizetype nameBegin = b + 1;
            while (nameBegin < nameEnd && IsAsciiSpace(data[nameBegin])) ++nameBegin;
            while (nameEnd > nameBegin && IsAsciiSpace(data[nameEnd - 1])) --nameEnd;
            s.kind = Kind::Section;
            s.name = Narrowed(HashAscii(kHashStart, data + nameBegin, nameEnd - nameBegin));
            return s;
        }
        qsizetype eq = b;
        while (eq < e && data[eq] != '=') ++eq;
        if (eq == e || eq == b)
            return s;
        qsizetype nameEnd = eq;
        while (nameEnd > b && IsAsciiSpace(data[nameEnd - 1])) --nameEnd;
        s.kind = Kind::Key;
        s.name = Narrowed(HashAscii(keyStart, data + b, nameEnd - b));
        return s;
    }
    const QString text = Text(doc, line).trimmed();
    const Parsed p = Parse(text, false);
    s.kind = p.kind;
    s.blank = text.isEmpty();
    if (p.kind != Kind::Other)
        s.name = Narrowed(HashFolded(p.kind == Kind::Key ? keyStart : kHashStart, p.name));
    return s;
}

Parsed ParseLine(const IniDocument& doc, qsizetype i) {
    return Parse(Text(doc, doc.lines[std::size_t(i)]).trimmed(), true);
}

// Whether lines `a` and `b` carry the same name (a header's or a key's).
bool SameName(const IniDocument& doc, qsizetype a, qsizetype b) {
    return Same(ParseLine(doc, a).name, ParseLine(doc, b).name);
}

void Index(IniDocument& doc) {
    // Every section and key where it stands, then sorted by hash, the first of each hash kept.
    std::vector<IniSection> sections;
    std::vector<IniKey> keys;
    quint64 section = 0;     // the hash of the section we are in
    qsizetype current = -1;  // its entry; -1 before the first
    const qsizetype count = qsizetype(doc.lines.size());
    for (qsizetype i = 0; i < count; ++i) {
        const Scanned s = Scan(doc, doc.lines[std::size_t(i)], HashByte(section, '\n'));
        if (s.kind == Kind::Section) {
            section = s.name;
            current = qsizetype(sections.size());
            sections.push_back({s.name, i, i, false, false});
        } else if (s.kind == Kind::Key && current >= 0) {
            sections[std::size_t(current)].hasKey = true;
            keys.push_back({s.name, i, sections[std::size_t(current)].header, false});
        }
        if (current >= 0 && !s.blank)
            sections[std::size_t(current)].insertAfter = i;
    }
    const auto inFileOrder = [](const auto& a, const auto& b) {
        return a.hash != b.hash ? a.hash < b.hash : a.header < b.header;
    };
    std::sort(sections.begin(), sections.end(), inFileOrder);
    for (const IniSection& entry : sections) {
        if (doc.sections.empty() || doc.sections.back().hash != entry.hash) {
            doc.sections.push_back(entry);
            continue;
        }
        IniSection& first = doc.sections.back();  // a later section of the same hash
        first.hasKey = first.hasKey || entry.hasKey;
        first.shared = first.shared || !SameName(doc, first.header, entry.header);
    }
    std::sort(keys.begin(), keys.end(), [](const IniKey& a, const IniKey& b) {
        return a.hash != b.hash ? a.hash < b.hash : a.line < b.line;
    });
    for (const IniKey& entry : keys) {
        if (doc.keys.empty() || doc.keys.back().hash != entry.hash) {
            doc.keys.push_back(entry);
            continue;
        }
        IniKey& first = doc.keys.back();
        first.shared = first.shared || !SameName(doc, first.line, entry.line) ||
                       !SameName(doc, first.header, entry.header);
    }
}

template <class Entry>
const Entry* FindEntry(const std::vector<Entry>& entries, quint64 hash) {
    const auto found =
        std::lower_bound(entries.begin(), entries.end(), Entry{hash},
                         [](const Entry& a, const Entry& b) { return a.hash < b.hash; });
    return found != entries.end() && found->hash == hash ? &*found : nullptr;
}

// A file with a UTF-16 byte-order mark is UTF-16 only when it holds nothing else or a zero byte
// (as any settings file in UTF-16 does, in its ASCII characters): a Windows-1252 or UTF-8 file
// that happens to begin with the same two bytes holds none, and lines added to it add none.
bool LooksLikeUtf16(const QByteArray& bytes) {
    return bytes.size() <= 2 || bytes.indexOf('\0', 2) >= 0;
}

std::shared_ptr<IniDocument> Load(const QByteArray& path) {
    auto doc = std::make_shared<IniDocument>();
    switch (ReadRegularFile(path, doc->raw, &doc->readError)) {
        case ReadOutcome::Missing:
            return doc;
        case ReadOutcome::Refused:
            doc->readable = false;
            return doc;
        case ReadOutcome::Read:
            break;
    }
    doc->missing = false;
    const QByteArray& bytes = doc->raw;
    const bool little = bytes.startsWith("\xFF\xFE");
    qsizetype end = bytes.size();
    if (bytes.startsWith(kUtf8Bom)) {
        doc->headLength = 3;
    } else if ((little || bytes.startsWith("\xFE\xFF")) && LooksLikeUtf16(bytes)) {
        doc->encoding = little ? Encoding::Utf16LE : Encoding::Utf16BE;
        doc->lineEnd = Encoded(doc->encoding, QStringLiteral("\n"));
        doc->headLength = 2;
        if ((bytes.size() - 2) % 2 != 0) {
            doc->tailLength = 1;
            --end;
        }
    }
    SplitLines(*doc, doc->headLength, end);
    Index(*doc);
    return doc;
}

// The first line of `key` in a section named `section`, if any.
std::optional<qsizetype> KeyLine(const IniDocument& doc, const QString& section,
                                 const QString& key) {
    const IniKey* found = FindEntry(doc.keys, KeyHash(SectionHash(section), key));
    if (!found)
        return std::nullopt;
    if (!found->shared) {
        if (Same(ParseLine(doc, found->line).name, key) &&
            Same(ParseLine(doc, found->header).name, section)) {
            return found->line;
        }
        return std::nullopt;  // only another name with the same hash is there
    }
    bool inSection = false;
    for (qsizetype i = 0; i < qsizetype(doc.lines.size()); ++i) {
        const Parsed p = ParseLine(doc, i);
        if (p.kind == Kind::Section)
            inSection = Same(p.name, section);
        else if (inSection && p.kind == Kind::Key && Same(p.name, key))
            return i;
    }
    return std::nullopt;
}

// The first section named `section`, if any, as the index has it.
std::optional<IniSection> SectionNamed(const IniDocument& doc, const QString& section) {
    const IniSection* found = FindEntry(doc.sections, SectionHash(section));
    if (!found)
        return std::nullopt;
    if (!found->shared) {
        if (Same(ParseLine(doc, found->header).name, section))
            return *found;
        return std::nullopt;
    }
    std::optional<IniSection> result;
    bool inSection = false;
    bool inFirst = false;
    for (qsizetype i = 0; i < qsizetype(doc.lines.size()); ++i) {
        const QString text = Text(doc, doc.lines[std::size_t(i)]).trimmed();
        const Parsed p = Parse(text, false);
        if (p.kind == Kind::Section) {
            inSection = Same(p.name, section);
            inFirst = inSection && !result;
            if (inFirst)
                result = IniSection{0, i, i, false, false};
        } else if (inSection && p.kind == Kind::Key) {
            result->hasKey = true;
        }
        if (inFirst && !text.isEmpty())
            result->insertAfter = i;
    }
    return result;
}

std::optional<QString> Find(const IniDocument& doc, const QString& section, const QString& key) {
    const std::optional<qsizetype> line = KeyLine(doc, section, key);
    if (!line)
        return std::nullopt;
    return ParseLine(doc, *line).value;
}

QString Stored(const QString& value) {
    QString v = value;
    v.replace(u'\r', u' ').replace(u'\n', u' ');
    const bool blankAtEnd = !v.isEmpty() && (v.front().isSpace() || v.back().isSpace());
    const bool quoted = v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"');
    return blankAtEnd || quoted ? QStringLiteral("\"") + v + QStringLiteral("\"") : v;
}

// The changes of one write, kept beside the document and applied as the new bytes are put
// together, so that any number of values costs one pass over the file.
class Edit {
  public:
    explicit Edit(const IniDocument& doc) : doc_(doc) {}

    void Set(const QString& section, const QString& key, const QString& value) {
        const QByteArray keyLine = Encoded(doc_.encoding, key + u'=' + Stored(value));
        if (const std::optional<qsizetype> line = KeyLine(doc_, section, key)) {
            replaced_.insert(*line, keyLine);
            return;
        }
        const QString sectionId = section.toCaseFolded();
        const QString id = sectionId + u'\n' + key.toCaseFolded();
        if (const auto added = added_.constFind(id); added != added_.constEnd()) {
            (*added->slot)[added->index] = keyLine;
            return;
        }
        std::vector<QByteArray>* keys = nullptr;
        if (const std::optional<IniSection> found = SectionNamed(doc_, section)) {
            keys = &insertedAfter_[found->insertAfter];
        } else {
            auto fresh = newSectionIndex_.constFind(sectionId);
            if (fresh == newSectionIndex_.constEnd()) {
                newSections_.push_back(
                    {Encoded(doc_.encoding, QStringLiteral("[") + section + QStringLiteral("]")),
                     {}});
                fresh = newSectionIndex_.insert(sectionId, newSections_.size() - 1);
            }
            keys = &newSections_[*fresh].keys;
        }
        keys->push_back(keyLine);
        added_.insert(id, Added{keys, keys->size() - 1});
    }

    // The new bytes: the lines between those changed are copied as one span each.
    QByteArray Bytes() const {
        const QByteArray& raw = doc_.raw;
        const qsizetype count = qsizetype(doc_.lines.size());
        std::vector<qsizetype> touched;
        touched.reserve(std::size_t(replaced_.size()) + insertedAfter_.size() + 1);
        for (auto i = replaced_.keyBegin(); i != replaced_.keyEnd(); ++i) touched.push_back(*i);
        for (const auto& [i, keys] : insertedAfter_) touched.push_back(i);
        if (count > 0 && !newSections_.empty())
            touched.push_back(count - 1);  // it may need a line end before the new sections
        std::sort(touched.begin(), touched.end());
        touched.erase(std::unique(touched.begin(), touched.end()), touched.end());

        QByteArray out;
        out.reserve(raw.size() + 64);
        qsizetype copied = 0;  // the bytes of `raw` before this are in `out`
        for (const qsizetype i : touched) {
            const IniLine& line = doc_.lines[std::size_t(i)];
            out += QByteArrayView(raw.constData() + copied, line.begin - copied);
            const auto replaced = replaced_.constFind(i);
            if (replaced != replaced_.constEnd())
                out += *replaced;
            else
                out += QByteArrayView(raw.constData() + line.begin, line.length);
            const auto inserted = insertedAfter_.find(i);
            const bool more =
                inserted != insertedAfter_.end() || (i + 1 == count && !newSections_.empty());
            if (line.endLength > 0)
                out += QByteArrayView(raw.constData() + line.begin + line.length, line.endLength);
            else if (more)
                out += doc_.lineEnd;  // a last line without an end gets one before what follows
            if (inserted != insertedAfter_.end()) {
                for (const QByteArray& key : inserted->second) out += key + doc_.lineEnd;
            }
            copied = line.begin + line.length + line.endLength;
        }
        out += QByteArrayView(raw.constData() + copied, raw.size() - doc_.tailLength - copied);
        for (const NewSection& section : newSections_) {
            out += section.header + doc_.lineEnd;
            for (const QByteArray& key : section.keys) out += key + doc_.lineEnd;
        }
        out += raw.right(doc_.tailLength);
        return out;
    }

  private:
    struct NewSection {
        QByteArray header;
        std::vector<QByteArray> keys;
    };
    struct Added {
        std::vector<QByteArray>* slot;
        std::size_t index;
    };

    const IniDocument& doc_;
    QHash<qsizetype, QByteArray> replaced_;
    std::map<qsizetype, std::vector<QByteArray>> insertedAfter_;
    std::deque<NewSection> newSections_;  // stays in place as it grows
    QHash<QString, std::size_t> newSectionIndex_;
    QHash<QString, Added> added_;
};

std::optional<int> ParseInteger(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    if (text.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        const QString digits = text.mid(2);
        if (digits.isEmpty() || digits.front() == u'+' || digits.front() == u'-') {
            return std::nullopt;
        }
        const uint value = digits.toUInt(&ok, 16);
        // Like the platform's reader, 0x80000000 and above wrap to negative numbers.
        return ok ? std::optional<int>(static_cast<int>(value)) : std::nullopt;
    }
    const int value = text.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

IniWriteError::IniWriteError(const QString& path, QString reason)
    : std::runtime_error(
          (QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path)).toStdString()),
      reason_(std::move(reason)) {}

IniSnapshot::IniSnapshot() : doc_(std::make_shared<IniDocument>()) {}

IniSnapshot::IniSnapshot(std::shared_ptr<const IniDocument> doc) : doc_(std::move(doc)) {}

bool IniSnapshot::SectionExists(const QString& section) const {
    const std::optional<IniSection> found = SectionNamed(*doc_, section);
    return found && found->hasKey;
}

QString IniSnapshot::ReadString(const QString& section, const QString& key,
                                const QString& def) const {
    const std::optional<QString> value = Find(*doc_, section, key);
    QString text = value ? *value : def;
    if (text.size() > kMaxIniValueLength) {
        qsizetype cut = kMaxIniValueLength;
        if (text[cut - 1].isHighSurrogate())
            --cut;  // never half a character
        text.truncate(cut);
    }
    return text;
}

int IniSnapshot::ReadInteger(const QString& section, const QString& key, int def) const {
    const std::optional<QString> value = Find(*doc_, section, key);
    if (!value)
        return def;
    return ParseInteger(*value).value_or(def);
}

bool IniSnapshot::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

IniFile::IniFile(const QString& path, AtomicWriteOptions options)
    : IniFile(QFile::encodeName(path), path, options) {}

IniFile::IniFile(QByteArray native, QString shown, AtomicWriteOptions options)
    : native_(std::move(native)), shown_(std::move(shown)), options_(options) {}

IniFile IniFile::AtNativePath(const QByteArray& path, AtomicWriteOptions options) {
    return IniFile(path, QFile::decodeName(path), options);
}

IniSnapshot IniFile::Read() const {
    return IniSnapshot(Load(native_));
}

bool IniFile::SectionExists(const QString& section) const {
    return Read().SectionExists(section);
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    return Read().ReadString(section, key, def);
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const {
    return Read().ReadInteger(section, key, def);
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return Read().ReadBool(section, key, def);
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    WriteStrings({{section, key, value}});
}

void IniFile::WriteStrings(const std::vector<IniValue>& values) {
    if (values.empty())
        return;
    Update([&values](const IniSnapshot&) { return values; });
}

void IniFile::Update(const std::function<std::vector<IniValue>(const IniSnapshot& now)>& change) {
    const FileUpdateLock lock(native_, options_.followLinks);
    const std::shared_ptr<const IniDocument> doc = Load(native_);
    if (!doc->readable)
        throw IniWriteError(shown_, doc->readError);  // rewriting it would lose it
    const std::vector<IniValue> values = change(IniSnapshot(doc));
    if (values.empty())
        return;
    Edit edit(*doc);
    for (const IniValue& v : values) edit.Set(v.section, v.key, v.value);
    const QByteArray after = edit.Bytes();
    if (after == doc->raw)
        return;  // the file says so already: no rewrite, no wait on the disk
    AtomicWriteOptions options = options_;
    if (doc->missing)
        options.replaceExisting = false;  // one that appeared meanwhile is not ours to replace
    QString reason;
    if (!WriteFileAtomically(native_, after, &reason, options))
        throw IniWriteError(shown_, reason);
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString SettingsFileName(const QString& executableFileName) {
    const qsizetype dot = executableFileName.lastIndexOf(u'.');
    return (dot < 0 ? executableFileName : executableFileName.left(dot)) +
           QStringLiteral("tips.ini");
}

void SetIniNameHashBitsForTesting(int bits) {
    g_hashMask = bits >= 64 ? ~0ull : bits <= 0 ? 0 : (1ull << bits) - 1;
}

int MonthStamp(const QDate& date) {
    return (date.year() % 100) * 100 + date.month();
}

}  // namespace sw::platform
