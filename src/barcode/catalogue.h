// The catalogue of bar code types, bar heights and font faces.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace sw {

// The program version, shown in the window and the about box and sent in the update check.
inline constexpr std::string_view kProgramVersion = "8.5";

// The first five are the window's types; the others are made by the command-line encoder.
enum class BarCodeType {
    Type25,
    Type25i,
    Type39,
    TypePost,
    TypeUPC,
    Type128,
    TypeGS1_128,
    TypeEAN13,
    TypeIMb
};
enum class BarHeight { Short, Normal, Tall };

struct BarCodeTypeInfo {
    BarCodeType type;
    std::string_view storedText;   // the "Type" setting's text and the command line's --type
    std::string_view caption;      // radio button caption
    std::string_view hint;         // radio button hint
    std::string_view description;  // one-line description shown on selection
    std::string_view pointSize;    // usual point size, set on selection
    bool takesChecksum;            // the optional check character applies
    bool showsHeights;             // the bar height group is shown
    bool showsTall;                // the Tall choice is shown (PostNet leaves it as it was)
};

// In the enum's order; the window's five come first, in the order of its radio buttons.
inline constexpr std::array<BarCodeTypeInfo, 9> kBarCodeTypes{{
    {BarCodeType::Type25, "25", "2/5", "Bar code 2/5 (numeric only)",
     "Low density numeric data only", "24", false, true, true},
    {BarCodeType::Type25i, "25i", "2/5 Interleaved",
     "Bar code 2/5 interleaved (high density numeric)", "High density numeric data only", "24",
     true, true, true},
    {BarCodeType::Type39, "39", "3/9", "Bar code 3/9 (alpha-numeric)",
     "Alpha numeric data, A-Z, 0-9, plus extras", "24", true, true, true},
    {BarCodeType::TypePost, "Post", "PostNet", "US PostNet (numeric)",
     "Fixed length numeric data only with checksum", "18", false, false, false},
    {BarCodeType::TypeUPC, "UPC", "UPC-A", "UPC-A (12 digit number)",
     "Fixed length numeric data only with checksum", "50", false, true, false},
    {BarCodeType::Type128, "128", "Code 128", "Code 128 (any ASCII text)",
     "Any ASCII text, in the shortest symbol", "24", false, true, true},
    {BarCodeType::TypeGS1_128, "gs1-128", "GS1-128", "GS1-128 (application identifiers)",
     "Application identifiers in parentheses with their data", "24", false, true, true},
    {BarCodeType::TypeEAN13, "ean13", "EAN-13", "EAN-13 (13 digit number)",
     "Fixed length numeric data only with checksum", "50", false, true, false},
    {BarCodeType::TypeIMb, "imb", "Intelligent Mail", "USPS Intelligent Mail barcode",
     "Tracking code and routing code, digits only", "18", false, false, false},
}};
static_assert(kBarCodeTypes.size() == 9);

// The types the window offers: the first kWindowTypes of the catalogue.
inline constexpr std::size_t kWindowTypes = 5;

constexpr const BarCodeTypeInfo& Info(BarCodeType type) {
    return kBarCodeTypes[static_cast<std::size_t>(type)];
}

// Reads the stored "Type" setting: exact, case-sensitive comparison with "25", "25i", "39" and
// "Post"; any other text, the empty text included, is UPC-A.
BarCodeType TypeFromSetting(std::string_view text);

// Looks a stored text up without regard to case (for the command line); nothing when unknown.
std::optional<BarCodeType> TypeFromName(std::string_view text);

// Stored bar height: "S", "N", and "T" (reading: any other text is Tall).
std::string_view HeightSetting(BarHeight height);
BarHeight HeightFromSetting(std::string_view text);

// The face table: the bar code font face for a type at a bar height.
std::string_view FaceName(BarCodeType type, BarHeight height);

// Every face name, each once.
inline constexpr std::array<std::string_view, 18> kFaceNames{
    "Sample 25 Short",       "Sample 25",
    "Sample 25 Tall",        "Sample 25 Interleaved Short",
    "Sample 25 Interleaved", "Sample 25 Interleaved Tall",
    "Sample 39 Short",       "Sample 39",
    "Sample 39 Tall",        "Sample UPCA Short",
    "Sample UPCA",           "Sample Postal",
    "Sample 128 Short",      "Sample 128",
    "Sample 128 Tall",       "Sample EAN13 Short",
    "Sample EAN13",          "Sample IMb"};
static_assert(kFaceNames.size() == 18);

}  // namespace sw
