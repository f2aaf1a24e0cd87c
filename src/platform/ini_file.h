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
// Every write is a read-change-write under FileUpdateLock: the file is read again while every
// other writer of ours waits, the values go into what it holds now, and the new file is in place
// before the next writer reads. Two programs writing different keys at the same moment both
// keep theirs; of two writes to one key, the later one stays.
//
// One reading parses the file once (IniSnapshot); each look-up in it then takes constant time,
// and a write of any number of values takes time in proportion to the file's size.
//
// Files with a UTF-8 or UTF-16 byte-order mark read as well as plain ones and keep their form
// when rewritten. Lines may end in LF, CRLF or a lone CR, all read alike; every line keeps its
// own end, and added lines take the end of the file's first line. A file is taken for UTF-16
// when it begins with that mark and holds a zero byte (or nothing else), as the ASCII
// characters of any UTF-16 settings file give. A line that is not valid UTF-8 is read as
// Windows-1252; every line but the one being replaced is written back with its bytes
// unchanged, whatever they are.
//
// A value with blanks at either end, or enclosed in double quotes, is written enclosed in
// double quotes; reading strips one enclosing pair, so such values come back as written. A
// line break in a value is written as a blank, since one line holds one key.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/atomic_file.h"

namespace sw::platform {

class IniWriteError : public std::runtime_error {
  public:
    explicit IniWriteError(const QString& path, QString reason = {});
    // Why, in a few words, where known ("the file is read-only"); not part of the message.
    const QString& reason() const { return reason_; }

  private:
    QString reason_;
};

// One value to write: its section, key and text.
struct IniValue {
    QString section;
    QString key;
    QString value;
};

struct IniDocument;

// The file as one reading found it, parsed once. A file that is missing reads as empty; one
// that cannot be read (or is not a regular file) gives every default.
class IniSnapshot {
  public:
    IniSnapshot();

    bool SectionExists(const QString& section) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;

  private:
    friend class IniFile;
    explicit IniSnapshot(std::shared_ptr<const IniDocument> doc);
    std::shared_ptr<const IniDocument> doc_;
};

class IniFile {
  public:
    // `path` as the program shows it; it reaches the system as QFile::encodeName gives it.
    // `options` are those of every write (for example, never through a symbolic link).
    explicit IniFile(const QString& path, AtomicWriteOptions options = {});
    // `path` as the system holds it, bytes unchanged (for names that are not UTF-8).
    static IniFile AtNativePath(const QByteArray& path, AtomicWriteOptions options = {});

    // The path for messages.
    const QString& path() const { return shown_; }

    // Reads and parses the file once.
    IniSnapshot Read() const;

    // Each of these reads the file once; several reads of one moment go through Read().
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
    // A read-change-write of the file under the lock: `change` is given the file as it is now
    // and returns the values to write, which go in as WriteStrings puts them. Nothing is
    // written when it returns none (or the file already holds them). A file that cannot be
    // read throws IniWriteError before `change` is called, since rewriting it would lose it.
    void Update(const std::function<std::vector<IniValue>(const IniSnapshot& now)>& change);

  private:
    IniFile(QByteArray native, QString shown, AtomicWriteOptions options);

    QByteArray native_;
    QString shown_;
    AtomicWriteOptions options_;
};

// The longest text value a read returns.
inline constexpr int kMaxIniValueLength = 2047;

// The settings file's name: the executable's file name with everything from its last dot on
// replaced by "tips.ini" ("stripewright.exe" and "stripewright" both give
// "stripewrighttips.ini").
QString SettingsFileName(const QString& executableFileName);

// The month stamp of a date: (year mod 100) * 100 + month.
int MonthStamp(const QDate& date);

// For tests: keeps only the lowest `bits` of the 64 bits of every name's hash (64 again for all
// of them), so that many names share one and the look-ups that tell them apart are exercised.
void SetIniNameHashBitsForTesting(int bits);

}  // namespace sw::platform
