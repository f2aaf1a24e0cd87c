#include "setup/program_folder.h"

#include <QStringList>

#include "platform/paths.h"

namespace sw::setup {

bool CreateProgramFolder(const SetupContext& context, QStringList& report) {
    const QString folder = platform::ShownPath(context.programFolder);
    QByteArray path = context.programFolder;
    while (path.size() > 1 && path.endsWith('/')) path.chop(1);
    if (platform::IsFolder(path)) {
        report << QStringLiteral("Program folder %1 is already there.").arg(folder);
        return true;
    }
    if (platform::PathKindAt(path) != platform::PathKind::Missing) {
        report << QStringLiteral(
                      "Cannot create the program folder %1: a file of that name is "
                      "in the way.")
                      .arg(folder);
        return false;
    }
    if (!platform::MakeFolders(path)) {
        report << QStringLiteral("Cannot create the program folder %1.").arg(folder);
        return false;
    }
    report << QStringLiteral("Created the program folder %1.").arg(folder);
    return true;
}

}  // namespace sw::setup
