#include "fonts/barcode_fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QList>

#include "barcode/catalogue.h"

namespace sw {

QStringList BarcodeFontResources() {
    QStringList paths;
    for (std::string_view face : kFaceNames) {
        paths << QStringLiteral(":/stripewright/fonts/") + BarcodeFontFileName(face);
    }
    return paths;
}

bool RegisterBarcodeFonts() {
    if (QGuiApplication::instance() == nullptr)
        return false;
    // Registered before, in this application's font database: nothing to add.
    static QList<int> ids;
    const auto stillThere = [] {
        for (int id : ids) {
            if (QFontDatabase::applicationFontFamilies(id).isEmpty())
                return false;
        }
        return ids.size() == static_cast<qsizetype>(kFaceNames.size());
    };
    if (stillThere())
        return true;

    ids.clear();
    bool all = true;
    for (std::string_view face : kFaceNames) {
        QFile file(QStringLiteral(":/stripewright/fonts/") + BarcodeFontFileName(face));
        const int id = file.open(QIODevice::ReadOnly)
                           ? QFontDatabase::addApplicationFontFromData(file.readAll())
                           : -1;
        const QString family = QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
        if (id < 0 || !QFontDatabase::applicationFontFamilies(id).contains(family)) {
            all = false;
        } else {
            ids << id;
        }
    }
    return all;
}

}  // namespace sw
