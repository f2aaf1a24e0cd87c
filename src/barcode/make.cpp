#include "barcode/make.h"

#include <string>
#include <utility>

#include "barcode/font_sink.h"

namespace sw {

EncodeResult MakeFontString(BarCodeType type, std::u32string_view text, bool checksum) {
    std::u32string out;
    std::string message;
    U32Sink sink{out};
    if (!MakeInto(type, text, checksum, sink, message))
        return EncodeResult::Failure(std::move(message));
    return EncodeResult::Success(std::move(out));
}

std::u32string AloneWithQuietZones(BarCodeType type, std::u32string fontString) {
    if (Info(type).quietZonesInGlyphs)
        return fontString;
    return U" " + fontString + U" ";
}

}  // namespace sw
