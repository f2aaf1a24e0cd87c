#include "setup/install_templates.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include "output/label_sheets.h"

namespace sw::setup {
namespace {

bool Fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

// Writes `data` into a temporary file beside `target` and renames it into place. The rename
// refuses to replace a file, so a template that appeared meanwhile is kept as it is.
bool CopyWithoutReplacing(const QByteArray& data, const QString& target, QString* error) {
    const QFileInfo info(target);
    QTemporaryFile temp(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                        QStringLiteral(".XXXXXX"));
    if (!temp.open()) {
        return Fail(error,
                    QStringLiteral("Unable to write to %1: %2")
                        .arg(QDir::toNativeSeparators(info.absolutePath()), temp.errorString()));
    }
    if (temp.write(data) != data.size() || !temp.flush()) {
        return Fail(error, QStringLiteral("Unable to write to %1: %2")
                               .arg(QDir::toNativeSeparators(temp.fileName()), temp.errorString()));
    }
    temp.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    temp.close();
    if (QFileInfo::exists(target))
        return true;  // someone else put it there; keep theirs
    if (!QFile::rename(temp.fileName(), target)) {
        if (QFileInfo::exists(target))
            return true;
        return Fail(error,
                    QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(target)));
    }
    temp.setAutoRemove(false);  // it has become the template
    return true;
}

}  // namespace

bool InstallTemplates(const QString& from, const QString& programFolder, QString* error) {
    if (!QDir().mkpath(programFolder)) {
        return Fail(error, QStringLiteral("Unable to create the folder %1")
                               .arg(QDir::toNativeSeparators(programFolder)));
    }
    for (std::size_t i = 0; i < kSheetCount; ++i) {
        const std::string_view name = kLabelChoices[i].fileName;
        const QString fileName =
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        const QString target = QDir(programFolder).filePath(fileName);
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            continue;

        QFile source(QDir(from).filePath(fileName));
        if (!source.open(QIODevice::ReadOnly)) {
            return Fail(
                error, QStringLiteral("Unable to read %1: %2")
                           .arg(QDir::toNativeSeparators(source.fileName()), source.errorString()));
        }
        const QByteArray data = source.readAll();
        if (source.error() != QFileDevice::NoError) {
            return Fail(
                error, QStringLiteral("Unable to read %1: %2")
                           .arg(QDir::toNativeSeparators(source.fileName()), source.errorString()));
        }
        if (!CopyWithoutReplacing(data, target, error))
            return false;
    }
    return true;
}

}  // namespace sw::setup
