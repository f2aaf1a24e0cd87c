#include "setup/program_folder.h"

#include <QDir>
#include <QFileInfo>

namespace sw::setup {

bool CreateProgramFolder(const SetupContext& context, QStringList& report) {
    const QString folder = QDir::toNativeSeparators(context.programFolder);
    const QFileInfo info(QDir::cleanPath(context.programFolder));
    if (info.isDir()) {
        report << QStringLiteral("Program folder %1 is already there.").arg(folder);
        return true;
    }
    if (info.exists()) {
        report << QStringLiteral(
                      "Cannot create the program folder %1: a file of that name is "
                      "in the way.")
                      .arg(folder);
        return false;
    }
    if (!QDir().mkpath(context.programFolder)) {
        report << QStringLiteral("Cannot create the program folder %1.").arg(folder);
        return false;
    }
    report << QStringLiteral("Created the program folder %1.").arg(folder);
    return true;
}

}  // namespace sw::setup
