// Set-up step: the program folder in the user's documents folder.
#pragma once

#include "setup/setup_steps.h"

namespace sw::setup {

// Creates the program folder (and the documents folder) when missing.
bool CreateProgramFolder(const SetupContext& context, QStringList& report);

}  // namespace sw::setup
