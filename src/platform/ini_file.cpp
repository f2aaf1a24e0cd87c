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

enum class Encoding { Utf8, Utf8Bom, Utf16LE, Utf16BE };

struct Line {
    QByteArray text;  // without the line end
    QByteArray end;   // "\n", "\r\n" or empty for a last line without one
};

struct Document {
    Encoding encoding = Encoding::Utf8;
    std::vector<Line> lines;
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

Parsed Parse(const QByteArray& bytes) {
    Parsed p;
    const QString line = DecodeLine(bytes).trimmed();
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

void SplitLines(const QByteArray& bytes, Document& doc) {
    qsizetype start = 0;
    bool endSeen = false;
    while (start < bytes.size()) {
        const qsizetype nl = bytes.indexOf('\n', start);
        if (nl < 0) {
            doc.lines.push_back({bytes.mid(start), {}});
            break;
        }
        const bool crlf = nl > start && bytes[nl - 1] == '\r';
        Line line{bytes.mid(start, nl - start - (crlf ? 1 : 0)),
                  crlf ? QByteArray("\r\n") : QByteArray("\n")};
        if (!endSeen) {
            doc.lineEnd = line.end;
            endSeen = true;
        }
        doc.lines.push_back(std::move(line));
        start = nl + 1;
    }
}

// Reads the file. A missing file is an empty document; an unreadable one gives nothing.
std::optional<Document> Load(const QString& path) {
    Document doc;
    QFile file(path);
    if (!file.exists())
        return doc;
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    if (bytes.startsWith(kUtf8Bom)) {
        doc.encoding = Encoding::Utf8Bom;
        bytes.remove(0, 3);
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool little = bytes.startsWith("\xFF\xFE");
        doc.encoding = little ? Encoding::Utf16LE : Encoding::Utf16BE;
        QStringDecoder utf16(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        bytes = QString(utf16(bytes.mid(2))).toUtf8();
    }
    SplitLines(bytes, doc);
    return doc;
}

QByteArray Serialise(const Document& doc) {
    QByteArray bytes;
    for (const Line& line : doc.lines) bytes += line.text + line.end;
    switch (doc.encoding) {
        case Encoding::Utf8:
            return bytes;
        case Encoding::Utf8Bom:
            return QByteArray(kUtf8Bom) + bytes;
        case Encoding::Utf16LE:
        case Encoding::Utf16BE: {
            const bool little = doc.encoding == Encoding::Utf16LE;
            QStringEncoder utf16(little ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
            return QByteArray(little ? "\xFF\xFE" : "\xFE\xFF") +
                   QByteArray(utf16(QString::fromUtf8(bytes)));
        }
    }
    return bytes;
}

// The value of a key: the first occurrence in any section of that name.
std::optional<QString> Find(const Document& doc, const QString& section, const QString& key) {
    bool inSection = false;
    for (const Line& line : doc.lines) {
        const Parsed p = Parse(line.text);
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
    const QByteArray keyLine = (key + QStringLiteral("=") + Stored(value)).toUtf8();
    // Where the key stands, or else the end of the first section of that name.
    std::optional<std::size_t> insertAfter;
    bool inSection = false;
    bool firstSectionDone = false;
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        const Parsed p = Parse(doc.lines[i].text);
        if (p.kind == Kind::Section) {
            if (inSection)
                firstSectionDone = true;
            inSection = Same(p.name, section);
            if (inSection && !insertAfter)
                insertAfter = i;
        } else if (inSection && p.kind == Kind::Key && Same(p.name, key)) {
            doc.lines[i].text = keyLine;
            return;
        } else if (inSection && !firstSectionDone && !doc.lines[i].text.trimmed().isEmpty()) {
            insertAfter = i;
        }
    }
    if (!doc.lines.empty() && doc.lines.back().end.isEmpty())
        doc.lines.back().end = doc.lineEnd;
    if (insertAfter) {
        Line& before = doc.lines[*insertAfter];
        if (before.end.isEmpty())
            before.end = doc.lineEnd;
        doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(*insertAfter) + 1,
                         Line{keyLine, doc.lineEnd});
        return;
    }
    doc.lines.push_back(
        {(QStringLiteral("[") + section + QStringLiteral("]")).toUtf8(), doc.lineEnd});
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
        const Parsed p = Parse(line.text);
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
