#include "platform/ini_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <optional>
#include <vector>

#include "platform/atomic_file.h"

namespace sw::platform {

namespace {

// How the lines are stored: bytes read as UTF-8 (or Windows-1252, line by line, where they are
// not UTF-8), or UTF-16 in either byte order.
enum class Encoding { Bytes, Utf16LE, Utf16BE };

struct Line {
    QByteArray text;  // without the line end, in the file's encoding
    QByteArray end;   // the line end in the file's encoding; empty for a last line without one
};

// Every line keeps its bytes as they were read, so that lines not written come back unchanged.
struct Document {
    Encoding encoding = Encoding::Bytes;
    QByteArray head;  // the byte-order mark, if any
    std::vector<Line> lines;
    QByteArray tail;            // a trailing odd byte of a UTF-16 file
    QByteArray lineEnd = "\n";  // used for lines that are added
};

enum class Kind { Other, Section, Key };

struct Parsed {
    Kind kind = Kind::Other;
    QString name;   // section or key name
    QString value;  // key value, blanks and one pair of enclosing quotes stripped
};

const char kUtf8Bom[] = "\xEF\xBB\xBF";

// Windows-1252 for bytes 0x80 to 0x9F; the other bytes equal their Latin-1 code points.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeLine(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    text.clear();
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b >= 0x80 && b < 0xA0 ? QChar(kCp1252High[b - 0x80]) : QChar(b));
    }
    return text;
}

QString Text(const Document& doc, const QByteArray& bytes) {
    if (doc.encoding == Encoding::Bytes)
        return DecodeLine(bytes);
    QStringDecoder utf16(
        doc.encoding == Encoding::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
        QStringDecoder::Flag::Stateless);
    return utf16(bytes);
}

QByteArray Encoded(const Document& doc, const QString& text) {
    if (doc.encoding == Encoding::Bytes)
        return text.toUtf8();
    QStringEncoder utf16(
        doc.encoding == Encoding::Utf16LE ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE,
        QStringEncoder::Flag::Stateless);
    return utf16(text);
}

Parsed Parse(const Document& doc, const QByteArray& bytes) {
    Parsed p;
    const QString line = Text(doc, bytes).trimmed();
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
    p.value = line.mid(eq + 1).trimmed();
    if (p.value.size() >= 2 && p.value.startsWith(u'"') && p.value.endsWith(u'"')) {
        p.value = p.value.mid(1, p.value.size() - 2);
    }
    return p;
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

qsizetype FindLineEnd(const QByteArray& bytes, qsizetype from, Encoding encoding) {
    if (encoding == Encoding::Bytes)
        return bytes.indexOf('\n', from);
    for (qsizetype i = from; i + 1 < bytes.size(); i += 2) {
        if (UnitIs(bytes, i, '\n', encoding))
            return i;
    }
    return -1;
}

void SplitLines(const QByteArray& bytes, Document& doc) {
    const qsizetype unit = doc.encoding == Encoding::Bytes ? 1 : 2;
    qsizetype start = 0;
    bool endSeen = false;
    while (start < bytes.size()) {
        const qsizetype nl = FindLineEnd(bytes, start, doc.encoding);
        if (nl < 0) {
            doc.lines.push_back({bytes.mid(start), {}});
            break;
        }
        const bool crlf = nl - start >= unit && UnitIs(bytes, nl - unit, '\r', doc.encoding);
        const qsizetype endStart = crlf ? nl - unit : nl;
        Line line{bytes.mid(start, endStart - start), bytes.mid(endStart, nl + unit - endStart)};
        if (!endSeen) {
            doc.lineEnd = line.end;
            endSeen = true;
        }
        doc.lines.push_back(std::move(line));
        start = nl + unit;
    }
}

// A file with a UTF-16 byte-order mark is UTF-16 only when it holds nothing else or a zero byte
// (as any settings file in UTF-16 does, in its ASCII characters): a Windows-1252 or UTF-8 file
// that happens to begin with the same two bytes holds none, and lines added to it add none.
bool LooksLikeUtf16(const QByteArray& bytes) {
    return bytes.size() <= 2 || bytes.indexOf('\0', 2) >= 0;
}

// Reads the file. A missing file is an empty document; an unreadable one, or anything but a
// regular file, gives nothing.
std::optional<Document> Load(const QString& path) {
    Document doc;
    QByteArray bytes;
    switch (ReadRegularFile(path, bytes)) {
        case ReadOutcome::Missing:
            return doc;
        case ReadOutcome::Refused:
            return std::nullopt;
        case ReadOutcome::Read:
            break;
    }
    const bool little = bytes.startsWith("\xFF\xFE");
    if (bytes.startsWith(kUtf8Bom)) {
        doc.head = bytes.left(3);
        bytes.remove(0, 3);
    } else if ((little || bytes.startsWith("\xFE\xFF")) && LooksLikeUtf16(bytes)) {
        doc.encoding = little ? Encoding::Utf16LE : Encoding::Utf16BE;
        doc.lineEnd = Encoded(doc, QStringLiteral("\n"));
        doc.head = bytes.left(2);
        bytes.remove(0, 2);
        if (bytes.size() % 2 != 0) {
            doc.tail = bytes.right(1);
            bytes.chop(1);
        }
    }
    SplitLines(bytes, doc);
    return doc;
}

QByteArray Serialise(const Document& doc) {
    QByteArray bytes = doc.head;
    for (const Line& line : doc.lines) bytes += line.text + line.end;
    return bytes + doc.tail;
}

// The value of a key: the first occurrence in any section of that name.
std::optional<QString> Find(const Document& doc, const QString& section, const QString& key) {
    bool inSection = false;
    for (const Line& line : doc.lines) {
        const Parsed p = Parse(doc, line.text);
        if (p.kind == Kind::Section) {
            inSection = Same(p.name, section);
        } else if (inSection && p.kind == Kind::Key && Same(p.name, key)) {
            return p.value;
        }
    }
    return std::nullopt;
}

QString Stored(const QString& value) {
    QString v = value;
    v.replace(u'\r', u' ').replace(u'\n', u' ');
    const bool blankAtEnd = !v.isEmpty() && (v.front().isSpace() || v.back().isSpace());
    const bool quoted = v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"');
    return blankAtEnd || quoted ? QStringLiteral("\"") + v + QStringLiteral("\"") : v;
}

void Set(Document& doc, const QString& section, const QString& key, const QString& value) {
    const QByteArray keyLine = Encoded(doc, key + QStringLiteral("=") + Stored(value));
    // Where the key stands, or else the end of the first section of that name.
    std::optional<std::size_t> insertAfter;
    bool inSection = false;
    bool firstSectionDone = false;
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        const Parsed p = Parse(doc, doc.lines[i].text);
        if (p.kind == Kind::Section) {
            if (inSection)
                firstSectionDone = true;
            inSection = Same(p.name, section);
            if (inSection && !insertAfter)
                insertAfter = i;
        } else if (inSection && p.kind == Kind::Key && Same(p.name, key)) {
            doc.lines[i].text = keyLine;
            return;
        } else if (inSection && !firstSectionDone &&
                   !Text(doc, doc.lines[i].text).trimmed().isEmpty()) {
            insertAfter = i;
        }
    }
    if (insertAfter) {
        Line& before = doc.lines[*insertAfter];
        if (before.end.isEmpty())
            before.end = doc.lineEnd;
        doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(*insertAfter) + 1,
                         Line{keyLine, doc.lineEnd});
        return;
    }
    if (!doc.lines.empty() && doc.lines.back().end.isEmpty())
        doc.lines.back().end = doc.lineEnd;
    doc.lines.push_back(
        {Encoded(doc, QStringLiteral("[") + section + QStringLiteral("]")), doc.lineEnd});
    doc.lines.push_back({keyLine, doc.lineEnd});
}

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

IniWriteError::IniWriteError(const QString& path)
    : std::runtime_error(
          (QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path)).toStdString()) {}

IniFile::IniFile(QString path) : path_(std::move(path)) {}

bool IniFile::SectionExists(const QString& section) const {
    const std::optional<Document> doc = Load(path_);
    if (!doc)
        return false;
    bool inSection = false;
    for (const Line& line : doc->lines) {
        const Parsed p = Parse(*doc, line.text);
        if (p.kind == Kind::Section) {
            inSection = Same(p.name, section);
        } else if (inSection && p.kind == Kind::Key) {
            return true;
        }
    }
    return false;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const std::optional<Document> doc = Load(path_);
    std::optional<QString> value = doc ? Find(*doc, section, key) : std::nullopt;
    QString text = value ? *value : def;
    if (text.size() > kMaxIniValueLength) {
        qsizetype cut = kMaxIniValueLength;
        if (text[cut - 1].isHighSurrogate())
            --cut;  // never half a character
        text.truncate(cut);
    }
    return text;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const {
    const std::optional<Document> doc = Load(path_);
    const std::optional<QString> value = doc ? Find(*doc, section, key) : std::nullopt;
    if (!value)
        return def;
    return ParseInteger(*value).value_or(def);
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    WriteStrings({{section, key, value}});
}

void IniFile::WriteStrings(const std::vector<IniValue>& values) {
    if (values.empty())
        return;
    std::optional<Document> doc = Load(path_);
    if (!doc)
        throw IniWriteError(path_);  // rewriting an unreadable file would lose it
    const QByteArray before = Serialise(*doc);
    for (const IniValue& v : values) Set(*doc, v.section, v.key, v.value);
    const QByteArray after = Serialise(*doc);
    if (after == before)
        return;  // the file says so already: no rewrite, no wait on the disk
    if (!WriteFileAtomically(path_, after))
        throw IniWriteError(path_);
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

int MonthStamp(const QDate& date) {
    return (date.year() % 100) * 100 + date.month();
}

}  // namespace sw::platform
