#include "barcode/catalogue.h"

namespace sw {
namespace {

// Type names are ASCII, compared with ASCII case rules whatever the locale: in a Turkish one
// "I" does not lower to "i".
constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

}  // namespace

BarCodeType TypeFromSetting(std::string_view text) {
    for (std::size_t i = 0; i < kWindowTypes; ++i) {
        if (text == kBarCodeTypes[i].storedText)
            return kBarCodeTypes[i].type;
    }
    return BarCodeType::TypeUPC;
}

std::optional<BarCodeType> TypeFromName(std::string_view text) {
    for (const auto& info : kBarCodeTypes) {
        if (EqualsIgnoreCase(text, info.storedText))
            return info.type;
    }
    return std::nullopt;
}

std::string_view HeightSetting(BarHeight height) {
    switch (height) {
        case BarHeight::Short:
            return "S";
        case BarHeight::Normal:
            return "N";
        case BarHeight::Tall:
            break;
    }
    return "T";
}

BarHeight HeightFromSetting(std::string_view text) {
    if (text == "S")
        return BarHeight::Short;
    if (text == "N")
        return BarHeight::Normal;
    return BarHeight::Tall;
}

}  // namespace sw
