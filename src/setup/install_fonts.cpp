#include "setup/install_fonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "fonts/font_files.h"

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
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            return Fail(error, QStringLiteral("The bar code font \"%1\" cannot be read: %2")
                                   .arg(Native(path), file.errorString()));
        }
        fonts.append({name, file.readAll()});
        if (file.error() != QFileDevice::NoError || fonts.back().second.isEmpty()) {
            return Fail(error, QStringLiteral("The bar code font \"%1\" cannot be read: %2")
                                   .arg(Native(path), file.errorString()));
        }
    }

    if (!QDir().mkpath(userFontFolder) || !QFileInfo(userFontFolder).isDir()) {
        return Fail(error, QStringLiteral("The font folder \"%1\" cannot be created.")
                               .arg(Native(userFontFolder)));
    }
    const QDir target(userFontFolder);
    for (const auto& [name, data] : fonts) {
        const QString path = target.filePath(name);
        QFile existing(path);
        if (QFileInfo(path).isFile() && existing.open(QIODevice::ReadOnly) &&
            existing.readAll() == data) {
            continue;
        }
        existing.close();
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size() || !out.commit()) {
            out.cancelWriting();
            return Fail(error, QStringLiteral("The bar code font \"%1\" cannot be written: %2")
                                   .arg(Native(path), out.errorString()));
        }
        // Readable by everyone, like any other font.
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }
    if (refresh)
        refresh(userFontFolder);
    return true;
}

}  // namespace sw
