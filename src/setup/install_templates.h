// Set-up step: puts the label templates into the user's program folder.
#pragma once

#include <QByteArray>
#include <QString>

namespace sw::setup {

// Copies each of our label templates from the folder `from` into `programFolder` (created when
// missing; both names as bytes, see SetupContext), unless a file of that name is already there: the
// user may have changed it. The user's own "custom.rtf" is never touched. Each copy appears
// complete or not at all. On failure returns false and says why in `error`; templates already
// copied stay.
bool InstallTemplates(const QByteArray& from, const QByteArray& programFolder, QString* error);

}  // namespace sw::setup
