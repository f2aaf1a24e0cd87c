#include "platform/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace sw::platform {

namespace {

AtomicWriteHook g_hook = nullptr;

void RunHook(AtomicWriteStage stage) {
    if (g_hook)
        g_hook(stage);
}

std::filesystem::path FsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

bool SyncToDisk([[maybe_unused]] QFile& file) {
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return true;
#endif
}

}  // namespace

void SetAtomicWriteHook(AtomicWriteHook hook) {
    g_hook = hook;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    QString target = path;
    const QFileInfo given(path);
    if (given.isSymLink())
        target = given.symLinkTarget();
    const QFileInfo info(target);
    const bool exists = info.exists();
    // The owner's write bit is checked as well as access(2): a file the user made read-only
    // stays untouched even for a superuser, to whom access(2) grants everything.
    if (exists &&
        (!info.isFile() || !info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner))) {
        return false;
    }
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        return false;

    QTemporaryFile temp(
        QDir(folder).filePath(QStringLiteral(".") + info.fileName() + QStringLiteral(".XXXXXX")));
    if (!temp.open())
        return false;
    const qsizetype half = bytes.size() / 2;
    if (temp.write(bytes.constData(), half) != half)
        return false;
    RunHook(AtomicWriteStage::TemporaryHalfWritten);
    if (temp.write(bytes.constData() + half, bytes.size() - half) != bytes.size() - half) {
        return false;
    }
    if (!temp.flush() || !SyncToDisk(temp))
        return false;
    const QFileDevice::Permissions permissions =
        exists ? info.permissions()
               : (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                  QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (!temp.setPermissions(permissions))
        return false;
    RunHook(AtomicWriteStage::BeforeRename);
    const QString tempName = temp.fileName();
    temp.close();

    std::error_code error;
    std::filesystem::rename(FsPath(tempName), FsPath(target), error);
    if (error)
        return false;  // the temporary file is removed with `temp`
    // The folder itself is not synced: the rename is atomic as it stands, and waiting for the
    // folder's journal entry would make every settings write take many milliseconds.
    temp.setAutoRemove(false);
    return true;
}

}  // namespace sw::platform
