#include "fonts/barcode_fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>

#include "barcode/catalogue.h"

namespace sw {

namespace {

QString Family(std::string_view face) {
    return QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
}

// The application font of each face registered so far. An id goes stale when the application
// (and with it its font database) is made afresh, as tests do.
QHash<QString, int>& RegisteredFaces() {
    static QHash<QString, int> ids;
    return ids;
}

}  // namespace

QStringList BarcodeFontResources() {
    QStringList paths;
    for (std::string_view face : kFaceNames) {
        paths << QStringLiteral(":/stripewright/fonts/") + BarcodeFontFileName(face);
    }
    return paths;
}

bool RegisterBarcodeFace(const QString& family) {
    if (QGuiApplication::instance() == nullptr)
        return false;
    QHash<QString, int>& ids = RegisteredFaces();
    const auto known = ids.constFind(family);
    if (known != ids.cend() && QFontDatabase::applicationFontFamilies(*known).contains(family))
        return true;
    for (std::string_view face : kFaceNames) {
        if (Family(face) != family)
            continue;
        QFile file(QStringLiteral(":/stripewright/fonts/") + BarcodeFontFileName(face));
        const int id = file.open(QIODevice::ReadOnly)
                           ? QFontDatabase::addApplicationFontFromData(file.readAll())
                           : -1;
        if (id < 0 || !QFontDatabase::applicationFontFamilies(id).contains(family)) {
            if (id >= 0)
                QFontDatabase::removeApplicationFont(id);
            ids.remove(family);
            return false;
        }
        ids.insert(family, id);
        return true;
    }
    return false;  // not one of ours
}

bool RegisterBarcodeFonts() {
    bool all = true;
    for (std::string_view face : kFaceNames) all = RegisterBarcodeFace(Family(face)) && all;
    return all;
}

}  // namespace sw
