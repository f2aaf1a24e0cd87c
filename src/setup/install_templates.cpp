#include "setup/install_templates.h"

#include "output/label_sheets.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace sw::setup {
namespace {

bool Fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

// Puts `data` in place as a new file, never replacing one: a template that appeared meanwhile
// is kept as it is.
bool CopyWithoutReplacing(const QByteArray& data, const QByteArray& target, QString* error) {
    platform::AtomicWriteOptions options;
    options.followLinks = false;
    options.replaceExisting = false;
    options.newFileMode = 0644;
    QString reason;
    if (platform::WriteFileAtomically(target, data, &reason, options))
        return true;
    if (platform::PathKindAt(target) != platform::PathKind::Missing)
        return true;  // someone else put it there; keep theirs
    return Fail(
        error,
        QStringLiteral("Unable to write to %1: %2").arg(platform::ShownPath(target), reason));
}

}  // namespace

bool InstallTemplates(const QByteArray& from, const QByteArray& programFolder, QString* error) {
    if (!platform::MakeFolders(programFolder)) {
        return Fail(error, QStringLiteral("Unable to create the folder %1")
                               .arg(platform::ShownPath(programFolder)));
    }
    for (std::size_t i = 0; i < kSheetCount; ++i) {
        const std::string_view name = kLabelChoices[i].fileName;
        const QByteArray fileName(name.data(), static_cast<qsizetype>(name.size()));
        const QByteArray target = platform::JoinPath(programFolder, fileName);
        if (platform::PathKindAt(target) != platform::PathKind::Missing)
            continue;

        const QByteArray source = platform::JoinPath(from, fileName);
        QByteArray data;
        QString reason = QStringLiteral("it is missing");
        if (platform::ReadRegularFile(source, data, &reason) != platform::ReadOutcome::Read) {
            return Fail(
                error,
                QStringLiteral("Unable to read %1: %2").arg(platform::ShownPath(source), reason));
        }
        if (!CopyWithoutReplacing(data, target, error))
            return false;
    }
    return true;
}

}  // namespace sw::setup
