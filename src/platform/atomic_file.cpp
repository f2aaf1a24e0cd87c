#include "platform/atomic_file.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstring>
#include <limits>
#include <string>
#else
#include <QFileInfo>
#include <QSaveFile>
#endif

namespace sw::platform {

namespace {

AtomicWriteHook g_hook = nullptr;
bool g_namedOnly = false;

void RunHook(AtomicWriteStage stage) {
    if (g_hook)
        g_hook(stage);
}

bool Refuse(QString* reason, const QString& why) {
    if (reason)
        *reason = why;
    return false;
}

// The content of `bytes`, handed over in two halves with the test hook between them.
ContentProducer BytesProducer(const QByteArray& bytes) {
    return [&bytes](const ContentSink& sink) {
        const qsizetype half = bytes.size() / 2;
        if (!sink(bytes.constData(), half))
            return false;
        RunHook(AtomicWriteStage::TemporaryHalfWritten);
        return sink(bytes.constData() + half, bytes.size() - half);
    };
}

#ifdef Q_OS_UNIX

constexpr int kMaxLinks = 40;

QString ErrnoText(int error) {
    QString text = QString::fromLocal8Bit(std::strerror(error));
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

// A descriptor closed when it goes out of scope.
class Fd {
  public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { reset(-1); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void reset(int fd) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

  private:
    int fd_ = -1;
};

QString KindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder, not a file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("it is a device or terminal, not a regular file");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a FIFO or pipe, not a regular file");
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket, not a regular file");
    if (S_ISLNK(mode))
        return QStringLiteral("it is a symbolic link");
    return QStringLiteral("it is not a regular file");
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct Target {
    std::string path;  // the file itself, at the end of any chain of links
    bool exists = false;
    struct stat st {};
};

// A sticky folder that everyone may write, like /tmp.
bool IsSharedFolder(const struct stat& folder) {
    return (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
}

// Whether the user or the folder's owner owns `owner`: what the kernel asks of a link it follows
// (fs.protected_symlinks) or of a file it opens for writing (fs.protected_regular) in a shared
// folder.
bool OwnedHere(uid_t owner, const struct stat& folder) {
    return owner == ::geteuid() || owner == folder.st_uid;
}

bool Resolve(std::string path, bool followLinks, Target& target, QString* reason) {
    bool reachedFile = false;  // whether the system found a file at the end of the first link
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno != ENOENT)
                return Refuse(reason, ErrnoText(errno));
            // A link the system follows to a file, which its text does not name (a magic link
            // of /proc to a deleted or nameless file): there is nothing to replace by name.
            if (reachedFile)
                return Refuse(reason, QStringLiteral("it leads to a file that has no name"));
            target.path = path;
            target.exists = false;
            return true;
        }
        if (!S_ISLNK(st.st_mode)) {
            target.path = path;
            target.exists = true;
            target.st = st;
            return true;
        }
        if (!followLinks)
            return Refuse(reason, KindOf(st.st_mode));
        if (hops == kMaxLinks)
            return Refuse(reason, QStringLiteral("its symbolic links form a loop"));
        struct stat folder {};
        if (::stat(FolderOf(path).c_str(), &folder) == 0 && IsSharedFolder(folder) &&
            !OwnedHere(st.st_uid, folder)) {
            return Refuse(reason,
                          QStringLiteral("it is another user's symbolic link in a shared folder, "
                                         "which is not followed"));
        }
        // Where the link ends as the system sees it: a pipe or terminal behind /proc/self/fd
        // has no name to follow to, and is refused for what it is.
        struct stat end {};
        if (::stat(path.c_str(), &end) == 0) {
            if (!S_ISREG(end.st_mode))
                return Refuse(reason, KindOf(end.st_mode));
            if (hops == 0)
                reachedFile = true;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length < 0)
            return Refuse(reason, ErrnoText(errno));
        link.resize(static_cast<std::size_t>(length));
        path = link.front() == '/' ? link : FolderOf(path) + "/" + link;
    }
}

// By the mode bits: a superuser, whom access(2) lets write anything, is held to the owner's bit.
bool MayReplace(const Target& target) {
    if (::geteuid() == 0)
        return (target.st.st_mode & S_IWUSR) != 0;
    return ::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) == 0;
}

// Our temporary files: ".sw" + six letters or digits + ".tmp", short enough beside any name.
constexpr std::size_t kRandomLength = 6;

std::string TemporaryName() {
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = ".sw";
    for (std::size_t i = 0; i < kRandomLength; ++i)
        name += kChars[QRandomGenerator::global()->bounded(36)];
    return name + ".tmp";
}

bool IsTemporaryName(const char* name) {
    if (std::strlen(name) != 3 + kRandomLength + 4 || std::strncmp(name, ".sw", 3) != 0 ||
        std::strcmp(name + 3 + kRandomLength, ".tmp") != 0) {
        return false;
    }
    for (std::size_t i = 3; i < 3 + kRandomLength; ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A writer holds a lock on its temporary file for as long as it lives, so one that can be
// locked was left by a writer that died: it is removed.
void RemoveStaleTemporaries(int folder) {
    const int scan = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (scan < 0)
        return;
    DIR* entries = ::fdopendir(scan);
    if (entries == nullptr) {
        ::close(scan);
        return;
    }
    while (const dirent* entry = ::readdir(entries)) {
        if (!IsTemporaryName(entry->d_name))
            continue;
        Fd file(::openat(folder, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat opened {
        }, named{};
        if (file.get() < 0 || ::fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
            ::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        if (::fstatat(folder, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            SameFile(opened, named)) {
            ::unlinkat(folder, entry->d_name, 0);
        }
    }
    ::closedir(entries);
}

// Makes a named temporary file in `folder`, locked. Returns false with errno set and `name`
// empty, so that no name of someone else's is ever removed.
bool CreateNamedTemporary(int folder, mode_t mode, Fd& file, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryName();
        file.reset(::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (file.get() < 0) {
            if (errno == EEXIST)
                continue;
            name.clear();
            return false;
        }
        if (::flock(file.get(), LOCK_EX) != 0) {
            const int error = errno;
            ::unlinkat(folder, name.c_str(), 0);  // not yet locked, so no cleaner has it
            name.clear();
            errno = error;
            return false;
        }
        // A cleaner may have taken it for stale between its creation and our lock.
        struct stat opened {
        }, named{};
        if (::fstat(file.get(), &opened) == 0 &&
            ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            SameFile(opened, named)) {
            return true;
        }
    }
    name.clear();
    errno = EEXIST;
    return false;
}

bool WriteSpan(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<std::size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// Copies the extended attributes of the file at `from` (its POSIX ACL among them, as
// system.posix_acl_access) to the open file `to`. Those of the security and trusted namespaces,
// which only the system or a superuser may set, come across where they are allowed; any other
// that cannot be copied refuses the write, so that nothing of the file is lost unsaid.
bool CopyAttributes(const std::string& from, int to, QString* reason) {
    std::string names;
    for (;;) {
        const ssize_t size = ::llistxattr(from.c_str(), nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP ? true : Refuse(reason, ErrnoText(errno));
        if (size == 0)
            return true;
        names.assign(static_cast<std::size_t>(size), '\0');
        const ssize_t got = ::llistxattr(from.c_str(), names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<std::size_t>(got));
            break;
        }
        if (errno != ERANGE)
            return Refuse(reason, ErrnoText(errno));
    }
    std::string value;
    for (std::size_t at = 0; at < names.size(); at += std::strlen(names.c_str() + at) + 1) {
        const char* name = names.c_str() + at;
        if (*name == '\0')
            continue;
        const bool privileged =
            std::strncmp(name, "security.", 9) == 0 || std::strncmp(name, "trusted.", 8) == 0;
        ssize_t got = -1;
        for (int attempt = 0; attempt < 8; ++attempt) {
            const ssize_t size = ::lgetxattr(from.c_str(), name, nullptr, 0);
            if (size < 0)
                break;
            value.assign(static_cast<std::size_t>(size), '\0');
            got = ::lgetxattr(from.c_str(), name, value.data(), value.size());
            if (got >= 0 || errno != ERANGE)
                break;
        }
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            if (::fsetxattr(to, name, value.data(), value.size(), 0) == 0)
                continue;
        } else if (errno == ENODATA) {
            continue;  // removed meanwhile
        }
        if (!privileged) {
            return Refuse(reason, QStringLiteral("its extended attribute %1 cannot be kept: %2")
                                      .arg(QString::fromLocal8Bit(name), ErrnoText(errno)));
        }
    }
    return true;
}

enum class Attempt { Done, Refused, Unsupported };

Attempt Appeared(QString* reason) {
    Refuse(reason, QStringLiteral("a file of that name appeared meanwhile"));
    return Attempt::Refused;
}

Attempt Place(int folder, const Target& target, const ContentProducer& produce, bool anonymous,
              const AtomicWriteOptions& options, QString* reason) {
    const std::string name = NameOf(target.path);
    const mode_t createMode = target.exists || options.newFileMode ? 0600 : 0666;
    Fd file;
    std::string tempName;  // empty while the file has no name
    const auto fail = [&](int error) {
        if (!tempName.empty())
            ::unlinkat(folder, tempName.c_str(), 0);
        Refuse(reason, ErrnoText(error));
        return Attempt::Refused;
    };
    if (anonymous) {
        file.reset(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, createMode));
        if (file.get() < 0) {
            return errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL ? Attempt::Unsupported
                                                                             : fail(errno);
        }
        if (::flock(file.get(), LOCK_EX) != 0)
            return fail(errno);
    } else if (!CreateNamedTemporary(folder, createMode, file, tempName)) {
        return fail(errno);
    }

    int writeError = 0;
    const ContentSink sink = [&](const char* data, qsizetype size) {
        if (WriteSpan(file.get(), data, size))
            return true;
        writeError = errno;
        return false;
    };
    if (!produce(sink)) {
        if (writeError != 0)
            return fail(writeError);
        if (!tempName.empty())
            ::unlinkat(folder, tempName.c_str(), 0);
        Refuse(reason, QStringLiteral("its content could not be made"));
        return Attempt::Refused;
    }
    if (writeError != 0)
        return fail(writeError);
    if (::fsync(file.get()) != 0)
        return fail(errno);
    if (target.exists) {
        // Owner and group where we may set them (a superuser replacing another's file), then
        // the mode, which a change of owner may have cut.
        if (::fchown(file.get(), target.st.st_uid, target.st.st_gid) != 0 &&
            ::fchown(file.get(), static_cast<uid_t>(-1), target.st.st_gid) != 0) {
            // Neither is ours to give: the new file is the user's, with the mode kept.
        }
        // The attributes after the owner, whose change drops some of them, and before the
        // mode, which then agrees with the ACL as it did on the old file.
        if (!CopyAttributes(target.path, file.get(), reason)) {
            if (!tempName.empty())
                ::unlinkat(folder, tempName.c_str(), 0);
            return Attempt::Refused;
        }
        if (::fchmod(file.get(), target.st.st_mode & 07777) != 0)
            return fail(errno);
    } else if (options.newFileMode && ::fchmod(file.get(), *options.newFileMode & 07777) != 0) {
        return fail(errno);
    }
    RunHook(AtomicWriteStage::BeforeRename);

    if (tempName.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(file.get());
        if (!target.exists) {
            if (::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                return Attempt::Done;
            if (errno == EEXIST)
                return Appeared(reason);
            return errno == ENOENT ? Attempt::Unsupported : fail(errno);  // no /proc
        }
        for (int attempt = 0;; ++attempt) {
            tempName = TemporaryName();
            if (::linkat(AT_FDCWD, self.c_str(), folder, tempName.c_str(), AT_SYMLINK_FOLLOW) == 0)
                break;
            const int error = errno;
            tempName.clear();
            if (error == ENOENT)
                return Attempt::Unsupported;
            if (error != EEXIST || attempt == 100)
                return fail(error);
        }
    } else if (!target.exists) {
        // A link, unlike a rename, never replaces a file that appeared meanwhile.
        if (::linkat(folder, tempName.c_str(), folder, name.c_str(), 0) != 0) {
            if (errno == EEXIST) {
                ::unlinkat(folder, tempName.c_str(), 0);
                return Appeared(reason);
            }
            return fail(errno);
        }
        ::unlinkat(folder, tempName.c_str(), 0);
        return Attempt::Done;
    }
    if (::renameat(folder, tempName.c_str(), folder, name.c_str()) != 0)
        return fail(errno);
    // The folder itself is not synced: the rename is atomic as it stands, and waiting for the
    // folder's journal entry would make every settings write take many milliseconds.
    return Attempt::Done;
}

bool WriteUnix(const std::string& path, const ContentProducer& produce, QString* reason,
               const AtomicWriteOptions& options) {
    Target target;
    if (path.empty())
        return Refuse(reason, QStringLiteral("it has no name"));
    if (path.find('\0') != std::string::npos)
        return Refuse(reason, QStringLiteral("its name holds a zero byte"));
    if (!Resolve(path, options.followLinks, target, reason))
        return false;
    if (NameOf(target.path).empty())
        return Refuse(reason, QStringLiteral("it is a folder, not a file"));
    if (target.exists) {
        if (!S_ISREG(target.st.st_mode))
            return Refuse(reason, KindOf(target.st.st_mode));
        if (!options.replaceExisting)
            return Refuse(reason, QStringLiteral("a file of that name is already there"));
        if (!MayReplace(target))
            return Refuse(reason, QStringLiteral("the file is read-only"));
    }
    Fd folder(::open(FolderOf(target.path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) {
        return Refuse(reason, errno == ENOENT ? QStringLiteral("its folder does not exist")
                                              : QStringLiteral("its folder cannot be opened: ") +
                                                    ErrnoText(errno));
    }
    struct stat folderStat {};
    if (target.exists && ::fstat(folder.get(), &folderStat) == 0 && IsSharedFolder(folderStat) &&
        !OwnedHere(target.st.st_uid, folderStat)) {
        return Refuse(reason, QStringLiteral("it is another user's file in a shared folder"));
    }
    RemoveStaleTemporaries(folder.get());
    if (!g_namedOnly) {
        const Attempt attempt = Place(folder.get(), target, produce, true, options, reason);
        if (attempt != Attempt::Unsupported)
            return attempt == Attempt::Done;
    }
    return Place(folder.get(), target, produce, false, options, reason) == Attempt::Done;
}

#endif

}  // namespace

void SetAtomicWriteHook(AtomicWriteHook hook) {
    g_hook = hook;
}

void SetAtomicWriteNamedTemporaryOnly(bool namedOnly) {
    g_namedOnly = namedOnly;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* reason,
                         const AtomicWriteOptions& options) {
    return WriteFileAtomically(path, BytesProducer(bytes), reason, options);
}

bool WriteFileAtomically(const QByteArray& path, const QByteArray& bytes, QString* reason,
                         const AtomicWriteOptions& options) {
    return WriteFileAtomically(path, BytesProducer(bytes), reason, options);
}

bool WriteFileAtomically(const QString& path, const ContentProducer& produce, QString* reason,
                         const AtomicWriteOptions& options) {
#ifdef Q_OS_UNIX
    return WriteFileAtomically(QFile::encodeName(path), produce, reason, options);
#else
    const QFileInfo info(path);
    if (info.isSymLink() && !options.followLinks)
        return Refuse(reason, QStringLiteral("it is a symbolic link"));
    if (info.exists()) {
        if (!info.isFile())
            return Refuse(reason, QStringLiteral("it is not a regular file"));
        if (!options.replaceExisting)
            return Refuse(reason, QStringLiteral("a file of that name is already there"));
        if (!info.isWritable())
            return Refuse(reason, QStringLiteral("the file is read-only"));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Refuse(reason, file.errorString());
    const ContentSink sink = [&file](const char* data, qsizetype size) {
        return file.write(data, size) == size;
    };
    if (!produce(sink)) {
        file.cancelWriting();
        return Refuse(reason, file.error() != QFileDevice::NoError
                                  ? file.errorString()
                                  : QStringLiteral("its content could not be made"));
    }
    RunHook(AtomicWriteStage::BeforeRename);
    if (!file.commit())
        return Refuse(reason, file.errorString());
    return true;
#endif
}

bool WriteFileAtomically(const QByteArray& path, const ContentProducer& produce, QString* reason,
                         const AtomicWriteOptions& options) {
#ifdef Q_OS_UNIX
    return WriteUnix(path.toStdString(), produce, reason, options);
#else
    return WriteFileAtomically(QFile::decodeName(path), produce, reason, options);
#endif
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    return WriteFileAtomically(path, bytes, nullptr);
}

ReadOutcome ReadRegularFile(const QString& path, QByteArray& bytes, QString* reason) {
#ifdef Q_OS_UNIX
    return ReadRegularFile(QFile::encodeName(path), bytes, reason);
#else
    bytes.clear();
    const QFileInfo info(path);
    if (!info.exists())
        return ReadOutcome::Missing;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        Refuse(reason,
               info.isFile() ? file.errorString() : QStringLiteral("it is not a regular file"));
        return ReadOutcome::Refused;
    }
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError ? ReadOutcome::Read : ReadOutcome::Refused;
#endif
}

ReadOutcome ReadRegularFile(const QByteArray& path, QByteArray& bytes, QString* reason) {
#ifndef Q_OS_UNIX
    return ReadRegularFile(QFile::decodeName(path), bytes, reason);
#else
    bytes.clear();
    const char* name = path.constData();
    struct stat st {};
    if (path.contains('\0')) {
        Refuse(reason, QStringLiteral("its name holds a zero byte"));
        return ReadOutcome::Refused;
    }
    if (path.isEmpty() || ::stat(name, &st) != 0) {
        if (path.isEmpty() || errno == ENOENT)
            return ReadOutcome::Missing;
        Refuse(reason, ErrnoText(errno));
        return ReadOutcome::Refused;
    }
    // Checked before opening, since opening some devices acts on them, and again after.
    if (!S_ISREG(st.st_mode)) {
        Refuse(reason, KindOf(st.st_mode));
        return ReadOutcome::Refused;
    }
    Fd file(::open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0 || ::fstat(file.get(), &st) != 0) {
        const int error = errno;
        Refuse(reason, ErrnoText(error));
        return error == ENOENT ? ReadOutcome::Missing : ReadOutcome::Refused;
    }
    if (!S_ISREG(st.st_mode)) {
        Refuse(reason, KindOf(st.st_mode));
        return ReadOutcome::Refused;
    }
    // Room for the whole file at once (and one byte more, to see its end), grown if the file
    // grows meanwhile.
    const qsizetype expected =
        st.st_size > 0 && st.st_size < std::numeric_limits<qsizetype>::max() / 4
            ? static_cast<qsizetype>(st.st_size) + 1
            : 65536;
    bytes.resize(expected);
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n =
            ::read(file.get(), bytes.data() + used, static_cast<std::size_t>(bytes.size() - used));
        if (n == 0) {
            bytes.resize(used);
            return ReadOutcome::Read;
        }
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Refuse(reason, ErrnoText(errno));
            bytes.clear();
            return ReadOutcome::Refused;
        }
        used += n;
    }
#endif
}

#ifdef Q_OS_UNIX

namespace {

bool LockHeld(int fd) {
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

bool StatAt(const std::string& path, bool followLinks, struct stat& st) {
    return (followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) == 0;
}

// Opens the regular file `path` for a lock: read-only where the system locks that, else for
// writing as well (a network file system may lock only files open for writing).
int LockedFile(const std::string& path, bool followLinks) {
    const int flags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW);
    for (const int mode : {O_RDONLY, O_RDWR}) {
        const int fd = ::open(path.c_str(), mode | flags);
        if (fd < 0)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && LockHeld(fd))
            return fd;
        ::close(fd);
    }
    return -1;
}

// Whether the write refuses `path` on the way to its file, or as another user's file in a
// shared folder. Such a file is not locked: its owner may hold a lock on it for ever.
bool RefusedBeforeLocking(const std::string& path, bool followLinks) {
    Target target;
    if (!Resolve(path, followLinks, target, nullptr))
        return true;
    struct stat folder {};
    return target.exists && ::stat(FolderOf(target.path).c_str(), &folder) == 0 &&
           IsSharedFolder(folder) && !OwnedHere(target.st.st_uid, folder);
}

}  // namespace

FileUpdateLock::FileUpdateLock(const QByteArray& path, bool followLinks) {
    const std::string name = path.toStdString();
    if (name.empty() || RefusedBeforeLocking(name, followLinks))
        return;
    for (int attempt = 0; attempt < 100; ++attempt) {
        struct stat before {};
        const bool exists = StatAt(name, followLinks, before);
        if (!exists && errno != ENOENT)
            return;
        if (exists && !S_ISREG(before.st_mode))
            return;  // the write refuses it; there is nothing to keep in step
        // A file that is there is locked itself; a missing one through its folder, which
        // every writer that makes it holds until the file is in place.
        const int fd = exists ? LockedFile(name, followLinks)
                              : ::open(FolderOf(name).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return;
        if (!exists && !LockHeld(fd)) {
            ::close(fd);
            return;
        }
        // Still what was locked: the same file, or still none.
        struct stat now {
        }, locked{};
        const bool existsNow = StatAt(name, followLinks, now);
        if (exists ? existsNow && ::fstat(fd, &locked) == 0 && SameFile(now, locked)
                   : !existsNow && errno == ENOENT) {
            fd_ = fd;
            return;
        }
        ::close(fd);  // replaced or made while we waited: lock what is there now
    }
}

FileUpdateLock::~FileUpdateLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

#else

FileUpdateLock::FileUpdateLock(const QByteArray&, bool) {}
FileUpdateLock::~FileUpdateLock() = default;

#endif

}  // namespace sw::platform
