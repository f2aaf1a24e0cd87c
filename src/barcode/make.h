// The data side of the Make command: the empty-text test, then the selected type's encoder.
#pragma once

#include <string_view>

#include "barcode/catalogue.h"
#include "barcode/encode_result.h"

namespace sw {

inline constexpr std::string_view kNoDataMessage = "Error- no data to bar code";

// Converts the data for a type. The checksum option reaches only the types that take one.
EncodeResult MakeFontString(BarCodeType type, std::u32string_view text, bool checksum);

}  // namespace sw
