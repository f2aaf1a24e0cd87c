// The one way the project writes a file: its whole content is replaced so that a crash at any
// moment leaves either the old file or the new one, never a mixture, and never a file that is
// not ours. The bytes go to a temporary file in the same folder, which is flushed to the disk and
// then renamed over the target (or linked in, for a new file).
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace sw::platform {

struct AtomicWriteOptions {
    // Whether a symbolic link is followed to the file it ends at. When false, a link (even a
    // dangling one) is refused and nothing is written through it.
    bool followLinks = true;
    // Whether an existing file may be replaced. When false, only a new file is made; a file that
    // is there already, or that appears meanwhile, is refused and kept.
    bool replaceExisting = true;
    // The permission bits of a new file (for example 0644). Unset: 0666 less the umask.
    std::optional<unsigned> newFileMode;
};

// Writes `bytes` as the new content of `path`: a new file, or the replacement of an existing
// regular file the user may write by its mode bits. A superuser is held to the owner's write
// bit, so a read-only file stays read-only for everyone. A chain of symbolic links is followed
// to its end and the final file is replaced, so every link keeps pointing at it; a dangling
// link gets its target made. An existing file keeps its permissions, its POSIX ACL and its
// extended attributes and, where the user may set them, its owner and group.
//
// Links and files in a shared folder (sticky and writable by everyone, like /tmp) are treated
// as the kernel's fs.protected_symlinks and fs.protected_regular treat them, whatever those
// switches say: a link there is followed only when it belongs to the user or to the folder's
// owner, and a file there is replaced only when it belongs to one of them.
//
// Refused, with nothing changed: a device, FIFO, pipe, socket, terminal or folder (also where
// a link such as /proc/self/fd/1 leads to one); a read-only file; a missing or unwritable
// folder; a loop of links; another user's link or file in a shared folder. `reason`, when
// given, then says why in a few words ("it is a FIFO or pipe, not a regular file"), to follow
// "Unable to write to <path>: ".
//
// The temporary file has no name while it is written where the file system allows (so a crash
// leaves nothing behind); elsewhere it has a short name, and a temporary file left by a writer
// that died is removed by the next write into that folder.
//
// `path` as a QString reaches the system as QFile::encodeName gives it; as a QByteArray it is
// handed over byte for byte (for names that are not UTF-8).
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* reason,
                         const AtomicWriteOptions& options = {});
bool WriteFileAtomically(const QByteArray& path, const QByteArray& bytes, QString* reason,
                         const AtomicWriteOptions& options = {});
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

// The same, for content too large to hold in memory: `produce` hands it to the sink piece by
// piece, as it is made, and returns whether it made it all. A sink that returns false has
// failed (the disk is full): `produce` then stops and returns false. When it returns false,
// nothing is changed and `reason` says why. `produce` is called once.
using ContentSink = std::function<bool(const char* data, qsizetype size)>;
using ContentProducer = std::function<bool(const ContentSink& sink)>;
bool WriteFileAtomically(const QString& path, const ContentProducer& produce, QString* reason,
                         const AtomicWriteOptions& options = {});
bool WriteFileAtomically(const QByteArray& path, const ContentProducer& produce, QString* reason,
                         const AtomicWriteOptions& options = {});

// The content of an existing regular file (a symbolic link is followed). Never blocks on a FIFO
// or a device: anything but a regular file is refused at once.
enum class ReadOutcome { Read, Missing, Refused };
ReadOutcome ReadRegularFile(const QString& path, QByteArray& bytes, QString* reason = nullptr);
ReadOutcome ReadRegularFile(const QByteArray& path, QByteArray& bytes, QString* reason = nullptr);

// Holds off every other FileUpdateLock on the same file for a read-change-write: the reading,
// the change and the writing all happen while it lives. It locks the file at `path` (or, while
// there is none, its folder) with flock, and locks again whenever the file was replaced or
// made while it waited, so that the holder reads what the last writer left. Where no lock can
// be had (a file system without locks, a name that is not a regular file), or where the write
// refuses the file anyway (another user's link or file in a shared folder, whose owner could
// hold its lock for ever), it holds nothing and the work goes on as before. A holder must not
// take a second lock on the same file.
class FileUpdateLock {
  public:
    FileUpdateLock(const QByteArray& path, bool followLinks);
    ~FileUpdateLock();
    FileUpdateLock(const FileUpdateLock&) = delete;
    FileUpdateLock& operator=(const FileUpdateLock&) = delete;

    // Whether a lock is held.
    bool Held() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

// Fault injection for tests of the crash guarantee: the hook runs at two moments of every
// write. A test process may end itself there (as a crash would) and its parent then inspects
// the file.
enum class AtomicWriteStage {
    TemporaryHalfWritten,  // half of the new content is in the temporary file
    BeforeRename,          // the temporary file is complete and flushed; the target is untouched
};
using AtomicWriteHook = void (*)(AtomicWriteStage);
void SetAtomicWriteHook(AtomicWriteHook hook);

// For tests: true makes every write use a named temporary file, as on a file system without
// anonymous temporary files.
void SetAtomicWriteNamedTemporaryOnly(bool namedOnly);

}  // namespace sw::platform
