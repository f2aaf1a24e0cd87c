// The program version, shown in the window and the about box and sent in the update check.
#pragma once

#include <string_view>

namespace sw {

inline constexpr std::string_view kProgramVersion = "8.5";

}  // namespace sw
