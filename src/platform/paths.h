// Where the program keeps the user's files: the program folder inside the documents folder,
// and the settings file in it; and file names as the system holds them.
#pragma once

#include <QByteArray>
#include <QString>

namespace sw::platform {

// The program folder for a documents folder: documents + "/Stripewright/" (with a trailing
// separator). Empty for an empty documents folder: no folder of ours is ever relative to the
// working folder or at the file system's root.
QString ProgramFolderPath(const QString& documentsFolder);
QByteArray ProgramFolderPath(const QByteArray& documentsFolder);

// The settings file in the program folder, named after the executable (SettingsFileName);
// empty for an empty documents folder.
QString SettingsFilePath(const QString& documentsFolder, const QString& executableFileName);

// The user's home folder from HOME, without a trailing separator. Empty when HOME is unset,
// empty or relative, as nothing of the user's may be put relative to the working folder.
QByteArray HomeFolder();

// The user's documents folder, without a trailing separator: XDG_DOCUMENTS_DIR of the XDG user
// folders file ($XDG_CONFIG_HOME/user-dirs.dirs, else ~/.config/user-dirs.dirs), where
// "$HOME" at its start stands for the home folder, else ~/Documents. Read and put together as
// bytes, so that a name that is not UTF-8 stays what it is. Empty without a home folder, or
// when the file names a relative folder.
QByteArray DocumentsFolderBytes();
// The same for the window, which holds names as text.
QString SystemDocumentsFolder();

// The folder for the user's own data files ($XDG_DATA_HOME, else ~/.local/share), as bytes;
// empty without a home folder.
QByteArray UserDataFolder();

// File names as bytes (these never decode and encode a name again on its way to the system).
// `folder` + "/" + `name`, with one separator between them.
QByteArray JoinPath(const QByteArray& folder, const QByteArray& name);
// A name for messages: decoded as the system's names are, separators as the platform shows
// them. Bytes that are not UTF-8 show as replacement characters.
QString ShownPath(const QByteArray& path);
// What is at `path`, without following a symbolic link at its end.
enum class PathKind { Missing, File, Folder, Link, Other };
PathKind PathKindAt(const QByteArray& path);
// Whether `path` is a folder, or a regular file, following symbolic links.
bool IsFolder(const QByteArray& path);
bool IsFile(const QByteArray& path);
// Makes the folder `path` and any missing folders above it; true when it is there at the end.
bool MakeFolders(const QByteArray& path);

}  // namespace sw::platform
