#include "platform/font_setup.h"

#include <dlfcn.h>

#include <system_error>

namespace sw::platform {

FontSetupAhead::FontSetupAhead() {
    // The toolkit's own copy of the font configuration library, looked up rather than linked:
    // without it (a toolkit built without it) there is nothing to set up ahead.
    using SetUp = int (*)();
    auto* setUp = reinterpret_cast<SetUp>(dlsym(RTLD_DEFAULT, "FcInit"));
    if (setUp == nullptr)
        return;
    try {
        thread_ = std::thread([setUp] { setUp(); });
    } catch (const std::system_error&) {
        // No thread to be had: the font database sets the configuration up itself, as always.
    }
}

FontSetupAhead::~FontSetupAhead() {
    FinishFontSetup();
}

void FontSetupAhead::FinishFontSetup() {
    if (thread_.joinable())
        thread_.join();
}

}  // namespace sw::platform
