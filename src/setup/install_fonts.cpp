#include "setup/install_fonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "fonts/font_files.h"
#include "platform/atomic_file.h"

namespace sw {
namespace {

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

bool Fail(QString* error, const QString& message) {
    if (error != nullptr)
        *error = message;
    return false;
}

}  // namespace

bool RefreshFontCache(const QString& folder) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("fc-cache"), {QStringLiteral("-f"), folder});
    if (!process.waitForStarted())
        return false;
    process.waitForFinished(-1);
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QString BundledFontFolder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/stripewright/fonts"));
}

QString DefaultUserFontFolder() {
    QString fonts = QStandardPaths::writableLocation(QStandardPaths::FontsLocation);
    if (fonts.isEmpty()) {
        fonts = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                QStringLiteral("/fonts");
    }
    return fonts + QStringLiteral("/stripewright");
}

bool InstallFonts(const QString& sourceFolder, const QString& userFontFolder, QString* error,
                  const FontCacheRefresher& refresh) {
    // Read every font first, so that a damaged installation copies nothing.
    QList<QPair<QString, QByteArray>> fonts;
    for (const QString& name : BarcodeFontFileNames()) {
        const QString path = QDir(sourceFolder).filePath(name);
        QByteArray data;
        QString reason = QStringLiteral("it is empty");
        if (platform::ReadRegularFile(path, data, &reason) != platform::ReadOutcome::Read ||
            data.isEmpty()) {
            if (!QFileInfo::exists(path))
                reason = QStringLiteral("it is missing");
            return Fail(error, QStringLiteral("The bar code font \"%1\" cannot be read: %2")
                                   .arg(Native(path), reason));
        }
        fonts.append({name, data});
    }

    if (!QDir().mkpath(userFontFolder) || !QFileInfo(userFontFolder).isDir()) {
        return Fail(error, QStringLiteral("The font folder \"%1\" cannot be created.")
                               .arg(Native(userFontFolder)));
    }
    const QDir target(userFontFolder);
    // Nothing is written through a symbolic link or over anything but one of our fonts: such a
    // name is reported after the other fonts are in place.
    QStringList refused;
    bool wroteAny = false;
    platform::AtomicWriteOptions options;
    options.followLinks = false;
    options.newFileMode = 0644;  // readable by everyone, like any other font
    for (const auto& [name, data] : fonts) {
        const QString path = target.filePath(name);
        const QFileInfo info(path);
        QByteArray existing;
        if (info.isFile() &&
            platform::ReadRegularFile(path, existing) == platform::ReadOutcome::Read &&
            existing == data) {
            continue;
        }
        QString reason;
        if (platform::WriteFileAtomically(path, data, &reason, options))
            wroteAny = true;
        else
            refused << QStringLiteral(
                           "The bar code font \"%1\" cannot be written (%2); the set-up "
                           "leaves it as it is.")
                           .arg(Native(path), reason);
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
