// Reading the values of command-line options.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sw {

// A plain decimal number ("24", "10.5"); nothing for anything else, signs and exponents included.
std::optional<double> ParseDecimal(std::string_view text);

// A whole number of plain digits from `least` to `most`; nothing for anything else.
std::optional<int> ParseWholeNumber(std::string_view text, int least, int most);

// The text with the ASCII letters in lower case.
std::string LowerAscii(std::string_view text);

}  // namespace sw
