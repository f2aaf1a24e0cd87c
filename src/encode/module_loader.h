// The picture writer module: found next to the program and loaded on first use.
#pragma once

#include <string>

namespace sw {

// The address of the module's function `name`; nothing, with the reason in `error`, when the
// module or the function cannot be loaded. The module stays loaded: Qt does not support being
// unloaded.
void* PictureModuleFunction(const char* name, std::string* error);

}  // namespace sw
