#include "barcode/catalogue.h"

namespace sw {
namespace {

// Rows in the order of BarCodeType; columns Short, Normal, Tall.
constexpr std::array<std::array<std::string_view, 3>, 9> kFaceTable{{
    {"Sample 25 Short", "Sample 25", "Sample 25 Tall"},
    {"Sample 25 Interleaved Short", "Sample 25 Interleaved", "Sample 25 Interleaved Tall"},
    {"Sample 39 Short", "Sample 39", "Sample 39 Tall"},
    {"Sample Postal", "Sample Postal", "Sample Postal"},
    {"Sample UPCA Short", "Sample UPCA", "Sample UPCA"},
    {"Sample 128 Short", "Sample 128", "Sample 128 Tall"},
    {"Sample 128 Short", "Sample 128", "Sample 128 Tall"},
    {"Sample EAN13 Short", "Sample EAN13", "Sample EAN13"},
    {"Sample IMb", "Sample IMb", "Sample IMb"},
}};
static_assert(kFaceTable.size() == kBarCodeTypes.size());

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
    for (BarCodeType t :
         {BarCodeType::Type25, BarCodeType::Type25i, BarCodeType::Type39, BarCodeType::TypePost}) {
        if (text == Info(t).storedText)
            return t;
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

std::string_view FaceName(BarCodeType type, BarHeight height) {
    return kFaceTable[static_cast<std::size_t>(type)][static_cast<std::size_t>(height)];
}

}  // namespace sw
