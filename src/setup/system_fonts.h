// Whether the bar code fonts are installed for every user, as a distribution package puts them.
#pragma once

#include <QByteArray>

namespace sw::setup {

// The system's font folder for our fonts, found beside the installed data folder:
// <prefix>/share/stripewright -> <prefix>/share/fonts/truetype/stripewright.
QByteArray SystemFontFolder(const QByteArray& dataFolder);

// True when every bar code font is in SystemFontFolder(dataFolder): the fonts are then installed
// for the whole system, and a copy in the user's font folder would list each face twice.
bool FontsInstalledForTheSystem(const QByteArray& dataFolder);

}  // namespace sw::setup
