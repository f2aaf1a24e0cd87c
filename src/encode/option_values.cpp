#include "encode/option_values.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace sw {

std::optional<double> ParseDecimal(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string_view::npos)
        return {};
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
        return {};
    return v;
}

std::optional<int> ParseWholeNumber(std::string_view text, int least, int most) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return {};
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < least || v > most)
        return {};
    return v;
}

std::string LowerAscii(std::string_view text) {
    std::string v;
    for (char c : text) v += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return v;
}

}  // namespace sw
