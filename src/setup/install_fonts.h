// Set-up step: the bar code fonts into the user's font folder, so that word processors draw
// pasted bar codes too.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace sw {

// Folder names here are bytes as the system holds them (see SetupContext).

// Asks the system to pick up new fonts in `folder`; false when that could not be done.
using FontCacheRefresher = std::function<bool(const QByteArray& folder)>;

// Runs "fc-cache -f FOLDER" and waits for it, handing it the folder's name as it is. False
// when fc-cache is missing or fails.
bool RefreshFontCache(const QByteArray& folder);

// The user's font folder for our fonts: a "stripewright" folder inside the user's fonts
// location ($XDG_DATA_HOME/fonts/stripewright, ~/.local/share/fonts/stripewright by default);
// empty without a home folder.
QByteArray DefaultUserFontFolder();

// Copies the bar code fonts from `sourceFolder` into `userFontFolder` (created when
// missing), then refreshes the font cache if any font was written. All of them must be present
// before anything is copied. A font already there with the same content is left alone; a
// different one (an older version) is replaced, each file written in full or not at all; one
// that another set-up running at the same moment has just put there, the same as ours, counts
// as done. Other files in the folder are never touched, and nothing is written through a
// symbolic link: a link, folder or read-only file where a font should go is kept as it is and
// reported as a failure once the other fonts are in place. A font cache that cannot be
// refreshed is not an error: the desktop picks the fonts up at the next login. On failure
// returns false and sets `error` (when given) to a message for the user.
bool InstallFonts(const QByteArray& sourceFolder, const QByteArray& userFontFolder, QString* error,
                  const FontCacheRefresher& refresh = RefreshFontCache);

}  // namespace sw
