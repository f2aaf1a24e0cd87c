#include "setup/install_fonts.h"

#include <QFile>

#include "fonts/font_files.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

extern char** environ;
#else
#include <QProcess>
#endif

namespace sw {
namespace {

bool Fail(QString* error, const QString& message) {
    if (error != nullptr)
        *error = message;
    return false;
}

// Whether the regular file (not a link) at `path` holds `data`.
bool Holds(const QByteArray& path, const QByteArray& data) {
    QByteArray existing;
    return platform::PathKindAt(path) == platform::PathKind::File &&
           platform::ReadRegularFile(path, existing) == platform::ReadOutcome::Read &&
           existing == data;
}

}  // namespace

bool RefreshFontCache(const QByteArray& folder) {
#ifdef Q_OS_UNIX
    // Started without a shell, the folder's name as one argument, byte for byte.
    QByteArray program = "fc-cache";
    QByteArray force = "-f";
    QByteArray name = folder;
    char* argv[] = {program.data(), force.data(), name.data(), nullptr};
    // What it prints is not ours to show: the set-up may have been asked to be quiet.
    posix_spawn_file_actions_t actions;
    if (::posix_spawn_file_actions_init(&actions) != 0)
        return false;
    ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t child = 0;
    const int started = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv, environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return false;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
#else
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("fc-cache"), {QStringLiteral("-f"), QFile::decodeName(folder)});
    if (!process.waitForStarted())
        return false;
    process.waitForFinished(-1);
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
#endif
}

QByteArray DefaultUserFontFolder() {
    const QByteArray data = platform::UserDataFolder();
    return data.isEmpty() ? QByteArray() : data + "/fonts/stripewright";
}

bool InstallFonts(const QByteArray& sourceFolder, const QByteArray& userFontFolder, QString* error,
                  const FontCacheRefresher& refresh) {
    // Read every font first, so that a damaged installation copies nothing.
    QList<QPair<QByteArray, QByteArray>> fonts;
    for (const QString& name : BarcodeFontFileNames()) {
        const QByteArray path = platform::JoinPath(sourceFolder, QFile::encodeName(name));
        QByteArray data;
        QString reason = QStringLiteral("it is empty");
        if (platform::ReadRegularFile(path, data, &reason) != platform::ReadOutcome::Read ||
            data.isEmpty()) {
            if (platform::PathKindAt(path) == platform::PathKind::Missing)
                reason = QStringLiteral("it is missing");
            return Fail(error, QStringLiteral("The bar code font \"%1\" cannot be read: %2")
                                   .arg(platform::ShownPath(path), reason));
        }
        fonts.append({QFile::encodeName(name), data});
    }

    if (!platform::MakeFolders(userFontFolder)) {
        return Fail(error, QStringLiteral("The font folder \"%1\" cannot be created.")
                               .arg(platform::ShownPath(userFontFolder)));
    }
    // Nothing is written through a symbolic link or over anything but one of our fonts: such a
    // name is reported after the other fonts are in place.
    QStringList refused;
    bool wroteAny = false;
    platform::AtomicWriteOptions options;
    options.followLinks = false;
    options.newFileMode = 0644;  // readable by everyone, like any other font
    for (const auto& [name, data] : fonts) {
        const QByteArray path = platform::JoinPath(userFontFolder, name);
        if (Holds(path, data))
            continue;
        QString reason;
        if (platform::WriteFileAtomically(path, data, &reason, options)) {
            wroteAny = true;
        } else if (!Holds(path, data)) {
            // Not one that a set-up running beside this one has just written, the same as ours.
            refused << QStringLiteral(
                           "The bar code font \"%1\" cannot be written (%2); the set-up "
                           "leaves it as it is.")
                           .arg(platform::ShownPath(path), reason);
        }
    }
    if (!refused.isEmpty())
        return Fail(error, refused.join(u'\n'));
    // The font cache is rebuilt only when a font changed: rebuilding it takes seconds, and the
    // menu entry runs the set-up before every start of the program.
    if (wroteAny && refresh)
        refresh(userFontFolder);
    return true;
}

}  // namespace sw
