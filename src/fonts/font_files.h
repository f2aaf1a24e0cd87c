// File names of the bar code fonts (Qt Core only, for the set-up program too).
#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

#include "barcode/catalogue.h"

namespace sw {

// The file name of a face's font ("Sample 25 Short" -> "sample_25_short.ttf").
inline QString BarcodeFontFileName(std::string_view face) {
    QString name = QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size())).toLower();
    name.replace(QLatin1Char(' '), QLatin1Char('_'));
    return name + QStringLiteral(".ttf");
}

// The file names of all the faces, in the order of kFaceNames.
inline QStringList BarcodeFontFileNames() {
    QStringList names;
    for (std::string_view face : kFaceNames) names << BarcodeFontFileName(face);
    return names;
}

}  // namespace sw
