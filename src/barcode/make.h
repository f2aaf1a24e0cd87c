// The data side of the Make command: the empty-text test, then the type's encoder.
#pragma once

#include <string>
#include <string_view>

#include "barcode/catalogue.h"
#include "barcode/encode_result.h"
#include "barcode/type_encoder.h"

// Every type's encoder, each of which specialises TypeEncoder for its type.
#include "barcode/code128.h"
#include "barcode/code25.h"
#include "barcode/code25i.h"
#include "barcode/code39.h"
#include "barcode/ean13.h"
#include "barcode/gs1_128.h"
#include "barcode/imb.h"
#include "barcode/postnet.h"
#include "barcode/upca.h"

namespace sw {

inline constexpr std::string_view kNoDataMessage = "Error- no data to bar code";

// Converts the data for a type. The checksum option reaches only the types that take one.
EncodeResult MakeFontString(BarCodeType type, std::u32string_view text, bool checksum);

// A font string as drawn alone, in a picture: a type whose glyphs cannot carry the quiet zones
// (the Intelligent Mail face's are one bar each) gets a space either side, which its face draws
// exactly as wide. Every other type's string carries its quiet zones already.
std::u32string AloneWithQuietZones(BarCodeType type, std::u32string fontString);

// The same for a type known when compiling, writing the font string to a sink, so that the
// encoder is inlined into its caller; on failure nothing is written and `message` holds the
// error.
template <BarCodeType kType, class View, class Sink>
bool MakeInto(View text, bool checksum, Sink& out, std::string& message) {
    if (text.empty()) {
        message = kNoDataMessage;
        return false;
    }
    return TypeEncoder<kType>::Into(text, checksum, out, message);
}

// The same for a type chosen at run time.
template <class View, class Sink>
bool MakeInto(BarCodeType type, View text, bool checksum, Sink& out, std::string& message) {
    return WithType(type, [&](auto tag) {
        return MakeInto<decltype(tag)::value>(text, checksum, out, message);
    });
}

}  // namespace sw
