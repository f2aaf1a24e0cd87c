// Set-up step: the settings file with the tip of the day's sections.
#pragma once

#include <QStringList>

#include "setup/setup_steps.h"

namespace sw::setup {

// The tips of the installed tips file: one tip per line; blank lines and lines starting with
// '#' are skipped. Fails (with a message in `error`) when the file cannot be read, holds no
// tip, or holds a tip longer than a settings value can be.
bool ReadTips(const QByteArray& path, QStringList& tips, QString& error);

// Puts the settings file into the program folder. A new file gets the sections "TipoftheDay"
// (Enabled=1, Position=0, Maximum=number of tips - 1) and "Tips". To an existing file only the
// sections it lacks are added, all in one atomic replacement, so the user's settings, switch and
// position stay and a stopped set-up leaves none or all of them. The file is read, changed and
// written under the settings file's lock (FileUpdateLock), so that nothing the window or another
// set-up writes at the same moment is lost. A settings file that is a symbolic link is never
// written through: it is kept when complete and reported otherwise.
bool InstallSettingsFile(const SetupContext& context, QStringList& report);

}  // namespace sw::setup
