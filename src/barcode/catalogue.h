// The catalogue of bar code types: one row per type with every fact about it, the bar heights,
// and the one dispatch from a type chosen at run time to code compiled for that type.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>

#include "barcode/face_list.h"  // generated from fonts/symbols.py
#include "barcode/version.h"

namespace sw {

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

// The narrowest bar that scanners read reliably, in inches: the usual minimum, and UPC-A and
// EAN-13 at 80 % of their nominal size.
inline constexpr double kUsualSmallestModule = 0.0075;
inline constexpr double kRetailSmallestModule = 0.0104;

// A row names what sets its type apart; the facts most types share have their values here.
struct BarCodeTypeInfo {
    BarCodeType type;
    std::string_view storedText;   // the "Type" setting's text and the command line's --type
    std::string_view caption;      // radio button caption
    std::string_view hint;         // radio button hint
    std::string_view description;  // one-line description shown on selection
    int pointSize = 24;            // usual point size, set on selection
    bool takesChecksum = false;    // the optional check character applies
    bool showsHeights = true;      // the bar height group is shown
    bool showsTall = true;         // the Tall choice is shown (PostNet leaves it as it was)
    FaceSet faces;                 // the face that draws each bar height
    bool fixedSize = false;        // postal bars have set sizes: the face prints at pointSize only
    double smallestModule = kUsualSmallestModule;  // inches
    // Whether the glyphs carry the quiet zones. Where they cannot (one bar a glyph), a symbol
    // drawn alone takes a space either side, which the face draws exactly as wide.
    bool quietZonesInGlyphs = true;
    bool digitsUnderBars = false;  // the faces draw the data's digits under the bars
    // The most characters of data one symbol holds: the standard's limit, or for a type
    // without one, what fits across 22 in (the widest page word processors lay out) at the
    // narrowest bar scanners read, each character at its fewest modules. Longer data is refused
    // before any work on it.
    std::size_t longestData = 0;
};

// In the enum's order; the window's five come first, in the order of its radio buttons.
inline constexpr std::array<BarCodeTypeInfo, 9> kBarCodeTypes{{
    {.type = BarCodeType::Type25,
     .storedText = "25",
     .caption = "2/5",
     .hint = "Bar code 2/5 (numeric only)",
     .description = "Low density numeric data only",
     .faces = faces::k25,
     .longestData = 250},
    {.type = BarCodeType::Type25i,
     .storedText = "25i",
     .caption = "2/5 Interleaved",
     .hint = "Bar code 2/5 interleaved (high density numeric)",
     .description = "High density numeric data only",
     .takesChecksum = true,
     .faces = faces::k25i,
     .longestData = 420},
    {.type = BarCodeType::Type39,
     .storedText = "39",
     .caption = "3/9",
     .hint = "Bar code 3/9 (alpha-numeric)",
     .description = "Alpha numeric data, A-Z, 0-9, plus extras",
     .takesChecksum = true,
     .faces = faces::k39,
     .longestData = 230},
    {.type = BarCodeType::TypePost,
     .storedText = "Post",
     .caption = "PostNet",
     .hint = "US PostNet (numeric)",
     .description = "Fixed length numeric data only with checksum",
     .pointSize = 18,
     .showsHeights = false,
     .showsTall = false,
     .faces = faces::kPost,
     .fixedSize = true,
     .longestData = 12},
    {.type = BarCodeType::TypeUPC,
     .storedText = "UPC",
     .caption = "UPC-A",
     .hint = "UPC-A (12 digit number)",
     .description = "Fixed length numeric data only with checksum",
     .pointSize = 50,
     .showsTall = false,
     .faces = faces::kUPC,
     .smallestModule = kRetailSmallestModule,
     .digitsUnderBars = true,
     .longestData = 11},
    {.type = BarCodeType::Type128,
     .storedText = "128",
     .caption = "Code 128",
     .hint = "Code 128 (any ASCII text)",
     .description = "Any ASCII text, in the shortest symbol",
     .faces = faces::k128,
     .longestData = 540},
    {.type = BarCodeType::TypeGS1_128,
     .storedText = "gs1-128",
     .caption = "GS1-128",
     .hint = "GS1-128 (application identifiers)",
     .description = "Application identifiers in parentheses with their data",
     .faces = faces::k128,
     .longestData = 80},
    {.type = BarCodeType::TypeEAN13,
     .storedText = "ean13",
     .caption = "EAN-13",
     .hint = "EAN-13 (13 digit number)",
     .description = "Fixed length numeric data only with checksum",
     .pointSize = 50,
     .showsTall = false,
     .faces = faces::kEAN13,
     .smallestModule = kRetailSmallestModule,
     .digitsUnderBars = true,
     .longestData = 13},
    {.type = BarCodeType::TypeIMb,
     .storedText = "imb",
     .caption = "Intelligent Mail",
     .hint = "USPS Intelligent Mail barcode",
     .description = "Tracking code and routing code, digits only",
     .pointSize = 18,
     .showsHeights = false,
     .showsTall = false,
     .faces = faces::kIMb,
     .fixedSize = true,
     .quietZonesInGlyphs = false,
     .longestData = 32},
}};
static_assert(kBarCodeTypes.size() == 9);

// The types the window offers: the first kWindowTypes of the catalogue.
inline constexpr std::size_t kWindowTypes = 5;

constexpr const BarCodeTypeInfo& Info(BarCodeType type) {
    return kBarCodeTypes[static_cast<std::size_t>(type)];
}

// Each row stands at its type's place, and names faces that fonts/symbols.py makes.
constexpr bool CatalogueIsConsistent() {
    for (std::size_t i = 0; i < kBarCodeTypes.size(); ++i) {
        if (static_cast<std::size_t>(kBarCodeTypes[i].type) != i)
            return false;
        for (std::string_view face : kBarCodeTypes[i].faces.byHeight) {
            bool listed = false;
            for (std::string_view name : kFaceNames) listed = listed || name == face;
            if (!listed)
                return false;
        }
    }
    return true;
}
static_assert(CatalogueIsConsistent());

// A type as a compile-time value: TypeTag<T>::value is T.
template <BarCodeType kType>
using TypeTag = std::integral_constant<BarCodeType, kType>;

// The one dispatch from a type known at run time to code compiled for each type: calls
// `f(TypeTag<type>{})` and returns its result. Every instantiation of `f` must return the same
// type. The comparisons compile to a jump table or a short chain, and `f` is inlined into each.
template <std::size_t kFrom = 0, class F>
constexpr decltype(auto) WithType(BarCodeType type, F&& f) {
    constexpr auto kType = static_cast<BarCodeType>(kFrom);
    if constexpr (kFrom + 1 < kBarCodeTypes.size()) {
        if (type != kType)
            return WithType<kFrom + 1>(type, std::forward<F>(f));
    }
    return f(TypeTag<kType>{});
}

// Reads the stored "Type" setting: exact, case-sensitive comparison with "25", "25i", "39" and
// "Post"; any other text, the empty text included, is UPC-A.
BarCodeType TypeFromSetting(std::string_view text);

// Looks a stored text up without regard to case (for the command line); nothing when unknown.
std::optional<BarCodeType> TypeFromName(std::string_view text);

// Stored bar height: "S", "N", and "T" (reading: any other text is Tall).
std::string_view HeightSetting(BarHeight height);
BarHeight HeightFromSetting(std::string_view text);

// The bar code font face for a type at a bar height.
constexpr std::string_view FaceName(BarCodeType type, BarHeight height) {
    return Info(type).faces.byHeight[static_cast<std::size_t>(height)];
}

}  // namespace sw
