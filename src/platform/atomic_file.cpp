#include "platform/atomic_file.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstring>
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
        return QStringLiteral("it is a device, not a regular file");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a FIFO, not a regular file");
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

bool Resolve(std::string path, bool followLinks, Target& target, QString* reason) {
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno != ENOENT)
                return Refuse(reason, ErrnoText(errno));
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

enum class Attempt { Done, Refused, Unsupported };

Attempt Appeared(QString* reason) {
    Refuse(reason, QStringLiteral("a file of that name appeared meanwhile"));
    return Attempt::Refused;
}

Attempt Place(int folder, const Target& target, const QByteArray& bytes, bool anonymous,
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

    const qsizetype half = bytes.size() / 2;
    if (!WriteSpan(file.get(), bytes.constData(), half))
        return fail(errno);
    RunHook(AtomicWriteStage::TemporaryHalfWritten);
    if (!WriteSpan(file.get(), bytes.constData() + half, bytes.size() - half) ||
        ::fsync(file.get()) != 0) {
        return fail(errno);
    }
    if (target.exists) {
        // Owner and group where we may set them (a superuser replacing another's file), then
        // the mode, which a change of owner may have cut.
        if (::fchown(file.get(), target.st.st_uid, target.st.st_gid) != 0 &&
            ::fchown(file.get(), static_cast<uid_t>(-1), target.st.st_gid) != 0) {
            // Neither is ours to give: the new file is the user's, with the mode kept.
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

bool WriteUnix(const QString& path, const QByteArray& bytes, QString* reason,
               const AtomicWriteOptions& options) {
    Target target;
    if (!Resolve(QFile::encodeName(path).toStdString(), options.followLinks, target, reason))
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
    RemoveStaleTemporaries(folder.get());
    if (!g_namedOnly) {
        const Attempt attempt = Place(folder.get(), target, bytes, true, options, reason);
        if (attempt != Attempt::Unsupported)
            return attempt == Attempt::Done;
    }
    return Place(folder.get(), target, bytes, false, options, reason) == Attempt::Done;
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
#ifdef Q_OS_UNIX
    return WriteUnix(path, bytes, reason, options);
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
    const qsizetype half = bytes.size() / 2;
    file.write(bytes.constData(), half);
    RunHook(AtomicWriteStage::TemporaryHalfWritten);
    file.write(bytes.constData() + half, bytes.size() - half);
    RunHook(AtomicWriteStage::BeforeRename);
    if (!file.commit())
        return Refuse(reason, file.errorString());
    return true;
#endif
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    return WriteFileAtomically(path, bytes, nullptr);
}

ReadOutcome ReadRegularFile(const QString& path, QByteArray& bytes, QString* reason) {
    bytes.clear();
#ifdef Q_OS_UNIX
    const std::string name = QFile::encodeName(path).toStdString();
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return ReadOutcome::Missing;
        Refuse(reason, ErrnoText(errno));
        return ReadOutcome::Refused;
    }
    // Checked before opening, since opening some devices acts on them, and again after.
    if (!S_ISREG(st.st_mode)) {
        Refuse(reason, KindOf(st.st_mode));
        return ReadOutcome::Refused;
    }
    Fd file(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0 || ::fstat(file.get(), &st) != 0) {
        const int error = errno;
        Refuse(reason, ErrnoText(error));
        return error == ENOENT ? ReadOutcome::Missing : ReadOutcome::Refused;
    }
    if (!S_ISREG(st.st_mode)) {
        Refuse(reason, KindOf(st.st_mode));
        return ReadOutcome::Refused;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n == 0)
            return ReadOutcome::Read;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Refuse(reason, ErrnoText(errno));
            bytes.clear();
            return ReadOutcome::Refused;
        }
        bytes.append(buffer, n);
    }
#else
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

}  // namespace sw::platform
