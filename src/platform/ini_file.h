// INI file access by section and key, for the settings file (which also carries the tips).
//
// Names match without regard to case; a section counts as present only when it holds a key;
// text values read back cut at 2047 characters; integers are decimal or 0x hexadecimal, and a
// missing, empty or unreadable value gives the default; booleans are integers (non-zero is
// true) and are written "1" and "0". Every write reaches the disk at once, keeps every other
// line of the file byte for byte, and replaces the file atomically through
// WriteFileAtomically, so a crash never leaves half a file; a chain of symbolic links to the
// file keeps pointing at it. A failed write throws IniWriteError with the message "Unable to
// write to <path>". Anything but a regular file (a FIFO, a device, a folder) is refused at once:
// reads give the defaults and writes throw.
//
// Files with a UTF-8 or UTF-16 byte-order mark and files with CRLF line ends read as well as
// plain ones and keep their form when rewritten. A file is taken for UTF-16 when it begins with
// that mark and holds a zero byte (or nothing else), as the ASCII characters of any UTF-16
// settings file give. A line that is not valid
// UTF-8 is read as Windows-1252; every line but the one being replaced is written back with its
// bytes unchanged, whatever they are.
//
// A value with blanks at either end, or enclosed in double quotes, is written enclosed in
// double quotes; reading strips one enclosing pair, so such values come back as written. A
// line break in a value is written as a blank, since one line holds one key.
#pragma once

#include <QDate>
#include <QString>
#include <stdexcept>
#include <vector>

namespace sw::platform {

class IniWriteError : public std::runtime_error {
  public:
    explicit IniWriteError(const QString& path);
};

// One value to write: its section, key and text.
struct IniValue {
    QString section;
    QString key;
    QString value;
};

class IniFile {
  public:
    explicit IniFile(QString path);

    const QString& path() const { return path_; }

    bool SectionExists(const QString& section) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    // Writes several values in one rewrite of the file, in order, as WriteString would one by
    // one: all of them reach the disk together, or none does and IniWriteError is thrown.
    void WriteStrings(const std::vector<IniValue>& values);

  private:
    QString path_;
};

// The longest text value a read returns.
inline constexpr int kMaxIniValueLength = 2047;

// The settings file's name: the executable's file name with everything from its last dot on
// replaced by "tips.ini" ("stripewright.exe" and "stripewright" both give
// "stripewrighttips.ini").
QString SettingsFileName(const QString& executableFileName);

// The month stamp of a date: (year mod 100) * 100 + month.
int MonthStamp(const QDate& date);

}  // namespace sw::platform
