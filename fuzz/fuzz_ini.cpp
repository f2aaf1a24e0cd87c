// Fuzzes the settings file: any bytes as the file, one key written. The file afterwards must be
// the input with a single line replaced or new lines inserted at one place: every other byte
// stays as it was, whatever the encoding.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_check.h"
#include "platform/ini_file.h"

using sw::fuzz::Check;

namespace {

QString Folder() {
    static const QString folder = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        const QString path = base + QStringLiteral("/fuzz_ini.") + QString::number(::getpid());
        QDir().mkpath(path);
        return path;
    }();
    return folder;
}

// Line breaks (LF or CR) in `bytes[from, to)`, counted in the code units of the file's encoding.
int LineBreaks(const QByteArray& bytes, qsizetype from, qsizetype to, int unit, bool little) {
    int breaks = 0;
    const qsizetype origin = unit == 2 ? 2 : 0;  // after the byte-order mark
    for (qsizetype i = origin; i + unit <= to; i += unit) {
        if (i < from)
            continue;
        const auto is = [&](char c) {
            return unit == 1 ? bytes[i] == c
                   : little  ? bytes[i] == c && bytes[i + 1] == 0
                             : bytes[i] == 0 && bytes[i + 1] == c;
        };
        const bool isBreak = is('\n') || is('\r');
        breaks += isBreak ? 1 : 0;
    }
    return breaks;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = Folder() + QStringLiteral("/s.ini");
    {
        QFile file(path);
        Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        Check(file.write(input) == input.size());
    }
    static const char* const kKeys[][2] = {
        {"Settings", "Data"}, {"Tips", "0"}, {"TipoftheDay", "Maximum"}};
    const auto& key = kKeys[size % 3];
    sw::platform::IniFile ini(path);
    ini.WriteString(QString::fromLatin1(key[0]), QString::fromLatin1(key[1]),
                    QStringLiteral("v\u00e9"));
    Check(ini.ReadString(QString::fromLatin1(key[0]), QString::fromLatin1(key[1]), {}) ==
          QStringLiteral("v\u00e9"));

    QFile file(path);
    Check(file.open(QIODevice::ReadOnly));
    const QByteArray output = file.readAll();
    qsizetype prefix = 0;
    while (prefix < input.size() && prefix < output.size() && input[prefix] == output[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < input.size() - prefix && suffix < output.size() - prefix &&
           input[input.size() - 1 - suffix] == output[output.size() - 1 - suffix]) {
        ++suffix;
    }
    // What was taken out lies within one line, counted in the file's code units: a file is
    // UTF-16 when it begins with that byte-order mark and holds a zero byte or nothing else.
    const bool little = input.startsWith("\xFF\xFE");
    const bool utf16 = (little || input.startsWith("\xFE\xFF")) &&
                       (input.size() <= 2 || input.indexOf('\0', 2) >= 0);
    Check(LineBreaks(input, prefix, input.size() - suffix, utf16 ? 2 : 1, little) == 0);
    return 0;
}
