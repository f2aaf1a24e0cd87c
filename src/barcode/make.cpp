#include "barcode/make.h"

#include <string>

#include "barcode/encoders.h"

namespace sw {

EncodeResult MakeFontString(BarCodeType type, std::u32string_view text, bool checksum) {
    if (text.empty())
        return EncodeResult::Failure(std::string(kNoDataMessage));
    switch (type) {
        case BarCodeType::Type25:
            return Encode25(text);
        case BarCodeType::Type25i:
            return Encode25i(text, checksum);
        case BarCodeType::Type39:
            return Encode39(text, checksum);
        case BarCodeType::TypePost:
            return EncodePost(text);
        case BarCodeType::Type128:
            return Encode128(text);
        case BarCodeType::TypeGS1_128:
            return EncodeGS1_128(text);
        case BarCodeType::TypeEAN13:
            return EncodeEAN13(text);
        case BarCodeType::TypeIMb:
            return EncodeIMb(text);
        case BarCodeType::TypeUPC:
            break;
    }
    return EncodeUPC(text);
}

std::u32string AloneWithQuietZones(BarCodeType type, std::u32string fontString) {
    if (type == BarCodeType::TypeIMb)
        return U" " + fontString + U" ";
    return fontString;
}

}  // namespace sw
