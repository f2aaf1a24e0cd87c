// Finds the sheet writer in the picture writer's module and loads it on first use.
#pragma once

#include "encode/encoder_options.h"

namespace sw {

// A writer that loads the module when it is first called; a module that cannot be loaded is
// reported as the writer's failure.
SheetWriter LoadedSheetWriter();

}  // namespace sw
