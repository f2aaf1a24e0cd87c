// The bar code fonts that come with the program: TrueType faces, one per entry of the
// face table, embedded as Qt resources.
#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

#include "fonts/font_files.h"

namespace sw {

// The resource path of every bundled font file, in the order of kFaceNames.
QStringList BarcodeFontResources();

// Adds the bundled faces to the application's font database, so that every face of the face
// table draws bar codes whether or not the fonts are installed on the system. Needs a
// QGuiApplication. Returns true when all the faces are available afterwards; calling it again
// does not add them twice.
bool RegisterBarcodeFonts();

}  // namespace sw
