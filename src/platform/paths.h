// Where the program keeps the user's files: the program folder inside the documents folder,
// and the settings file in it.
#pragma once

#include <QString>

namespace sw::platform {

// The program folder for a documents folder: documents + "/Stripewright/" (with a trailing
// separator).
QString ProgramFolderPath(const QString& documentsFolder);

// The settings file in the program folder, named after the executable (SettingsFileName).
QString SettingsFilePath(const QString& documentsFolder, const QString& executableFileName);

// The user's documents folder from the XDG user folders, without a trailing separator.
QString SystemDocumentsFolder();

}  // namespace sw::platform
