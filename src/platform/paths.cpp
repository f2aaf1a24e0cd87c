#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>

#include "platform/atomic_file.h"
#include "platform/ini_file.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace sw::platform {

namespace {

template <class Path>
Path WithoutTrailingSeparators(Path folder) {
    while (folder.size() > 1 && folder.endsWith('/')) folder.chop(1);
    return folder;
}

bool IsAbsolute(const QByteArray& path) {
    return path.startsWith('/');
}

// An absolute folder from the environment; a relative one is ignored, as the XDG rules say.
QByteArray AbsoluteFromEnvironment(const char* name) {
    const QByteArray value = qgetenv(name);
    return IsAbsolute(value) ? WithoutTrailingSeparators(value) : QByteArray();
}

// XDG_DOCUMENTS_DIR of the user folders file: the last line that sets it, unquoted, "$HOME" at
// its start replaced. Empty when the file or the line is missing.
QByteArray DocumentsFromUserDirs(const QByteArray& home) {
    QByteArray config = AbsoluteFromEnvironment("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = home + "/.config";
    QByteArray bytes;
    if (ReadRegularFile(config + "/user-dirs.dirs", bytes) != ReadOutcome::Read)
        return {};
    QByteArray result;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.startsWith("XDG_"))
            continue;
        const qsizetype dir = line.lastIndexOf("_DIR=");
        if (dir < 4 || line.mid(4, dir - 4) != "DOCUMENTS")
            continue;
        QByteArray value = line.mid(dir + 5);
        if (value.size() > 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        result = value.startsWith("$HOME") ? home + value.mid(5) : value;
    }
    return result;
}

}  // namespace

QString ProgramFolderPath(const QString& documentsFolder) {
    if (documentsFolder.isEmpty())
        return {};
    return WithoutTrailingSeparators(documentsFolder) + QStringLiteral("/Stripewright/");
}

QByteArray ProgramFolderPath(const QByteArray& documentsFolder) {
    if (documentsFolder.isEmpty())
        return {};
    return WithoutTrailingSeparators(documentsFolder) + "/Stripewright/";
}

QString SettingsFilePath(const QString& documentsFolder, const QString& executableFileName) {
    if (documentsFolder.isEmpty())
        return {};
    return ProgramFolderPath(documentsFolder) + SettingsFileName(executableFileName);
}

QByteArray HomeFolder() {
    return AbsoluteFromEnvironment("HOME");
}

QByteArray DocumentsFolderBytes() {
#ifndef Q_OS_UNIX
    return QFile::encodeName(WithoutTrailingSeparators(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
#endif
    const QByteArray home = HomeFolder();
    if (home.isEmpty())
        return {};
    const QByteArray named = DocumentsFromUserDirs(home);
    if (named.isEmpty())
        return home + "/Documents";
    return IsAbsolute(named) ? WithoutTrailingSeparators(named) : QByteArray();
}

QString SystemDocumentsFolder() {
    return QFile::decodeName(DocumentsFolderBytes());
}

QByteArray UserDataFolder() {
    const QByteArray data = AbsoluteFromEnvironment("XDG_DATA_HOME");
    if (!data.isEmpty())
        return data;
    const QByteArray home = HomeFolder();
    return home.isEmpty() ? QByteArray() : home + "/.local/share";
}

QByteArray JoinPath(const QByteArray& folder, const QByteArray& name) {
    if (folder.isEmpty())
        return name;
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QString ShownPath(const QByteArray& path) {
    return QDir::toNativeSeparators(QFile::decodeName(path));
}

#ifdef Q_OS_UNIX

PathKind PathKindAt(const QByteArray& path) {
    struct stat st {};
    if (path.isEmpty() || ::lstat(path.constData(), &st) != 0)
        return PathKind::Missing;
    if (S_ISLNK(st.st_mode))
        return PathKind::Link;
    if (S_ISDIR(st.st_mode))
        return PathKind::Folder;
    return S_ISREG(st.st_mode) ? PathKind::File : PathKind::Other;
}

bool IsFolder(const QByteArray& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const QByteArray& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(path.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool MakeFolders(const QByteArray& path) {
    const QByteArray folder = WithoutTrailingSeparators(path);
    if (folder.isEmpty() || IsFolder(folder))
        return !folder.isEmpty();
    const qsizetype slash = folder.lastIndexOf('/');
    if (slash > 0 && !MakeFolders(folder.left(slash)))
        return false;
    // Another program may make it at the same moment: what counts is that it is there.
    return ::mkdir(folder.constData(), 0777) == 0 || (errno == EEXIST && IsFolder(folder));
}

#else

PathKind PathKindAt(const QByteArray& path) {
    const QFileInfo info(QFile::decodeName(path));
    if (info.isSymLink())
        return PathKind::Link;
    if (!info.exists())
        return PathKind::Missing;
    return info.isDir() ? PathKind::Folder : info.isFile() ? PathKind::File : PathKind::Other;
}

bool IsFolder(const QByteArray& path) {
    return QFileInfo(QFile::decodeName(path)).isDir();
}

bool IsFile(const QByteArray& path) {
    return QFileInfo(QFile::decodeName(path)).isFile();
}

bool MakeFolders(const QByteArray& path) {
    return QDir().mkpath(QFile::decodeName(path));
}

#endif

}  // namespace sw::platform
