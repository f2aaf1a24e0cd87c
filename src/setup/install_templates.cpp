#include "setup/install_templates.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "output/label_sheets.h"
#include "platform/atomic_file.h"

namespace sw::setup {
namespace {

bool Fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

// Puts `data` in place as a new file, never replacing one: a template that appeared meanwhile
// is kept as it is.
bool CopyWithoutReplacing(const QByteArray& data, const QString& target, QString* error) {
    platform::AtomicWriteOptions options;
    options.followLinks = false;
    options.replaceExisting = false;
    options.newFileMode = 0644;
    QString reason;
    if (platform::WriteFileAtomically(target, data, &reason, options))
        return true;
    const QFileInfo info(target);
    if (info.exists() || info.isSymLink())
        return true;  // someone else put it there; keep theirs
    return Fail(
        error,
        QStringLiteral("Unable to write to %1: %2").arg(QDir::toNativeSeparators(target), reason));
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

        const QString source = QDir(from).filePath(fileName);
        QByteArray data;
        QString reason = QStringLiteral("it is missing");
        if (platform::ReadRegularFile(source, data, &reason) != platform::ReadOutcome::Read) {
            return Fail(error, QStringLiteral("Unable to read %1: %2")
                                   .arg(QDir::toNativeSeparators(source), reason));
        }
        if (!CopyWithoutReplacing(data, target, error))
            return false;
    }
    return true;
}

}  // namespace sw::setup
