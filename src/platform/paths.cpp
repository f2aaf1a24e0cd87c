#include "platform/paths.h"

#include <QStandardPaths>

#include "platform/ini_file.h"

namespace sw::platform {

QString ProgramFolderPath(const QString& documentsFolder) {
    QString folder = documentsFolder;
    while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
    return folder + QStringLiteral("/Stripewright/");
}

QString SettingsFilePath(const QString& documentsFolder, const QString& executableFileName) {
    return ProgramFolderPath(documentsFolder) + SettingsFileName(executableFileName);
}

QString SystemDocumentsFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
    return folder;
}

}  // namespace sw::platform
