// The bar code fonts that come with the program: twelve TrueType faces, one per entry of the
// face table, embedded as Qt resources.
#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

#include "fonts/font_files.h"

namespace sw {

// The resource path of every bundled font file, in the order of kFaceNames.
QStringList BarcodeFontResources();

// Adds one bundled face, by its family name from the face table, to the application's font
// database, so that it draws bar codes whether or not the fonts are installed on the system.
// Needs a QGuiApplication. Returns true when the face is available afterwards (false for a name
// that is not in the face table); calling it again does not add the face twice.
bool RegisterBarcodeFace(const QString& family);

// RegisterBarcodeFace for all twelve faces; true when all of them are available afterwards.
bool RegisterBarcodeFonts();

}  // namespace sw
