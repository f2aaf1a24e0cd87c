#include "setup/system_fonts.h"

#include <QDir>
#include <QFileInfo>

#include "fonts/font_files.h"

namespace sw::setup {

QString SystemFontFolder(const QString& dataFolder) {
    return QDir::cleanPath(dataFolder + QStringLiteral("/../" SW_SYSTEM_FONT_SUBDIR));
}

bool FontsInstalledForTheSystem(const QString& dataFolder) {
    const QDir folder(SystemFontFolder(dataFolder));
    for (const QString& name : BarcodeFontFileNames()) {
        if (!QFileInfo(folder.filePath(name)).isFile())
            return false;
    }
    return true;
}

}  // namespace sw::setup
