#include "setup/system_fonts.h"

#include <QDir>
#include <QFile>

#include "fonts/font_files.h"
#include "platform/paths.h"

namespace sw::setup {

QByteArray SystemFontFolder(const QByteArray& dataFolder) {
    // Cleaned as Latin-1, which maps every byte to one character and back, so that the name's
    // bytes stay as they were.
    return QDir::cleanPath(QString::fromLatin1(dataFolder + "/../" SW_SYSTEM_FONT_SUBDIR))
        .toLatin1();
}

bool FontsInstalledForTheSystem(const QByteArray& dataFolder) {
    const QByteArray folder = SystemFontFolder(dataFolder);
    for (const QString& name : BarcodeFontFileNames()) {
        if (!platform::IsFile(platform::JoinPath(folder, QFile::encodeName(name))))
            return false;
    }
    return true;
}

}  // namespace sw::setup
