// The data side of the Make command: the empty-text test, then the selected type's encoder.
#pragma once

#include <string>
#include <string_view>

#include "barcode/catalogue.h"
#include "barcode/code128.h"
#include "barcode/code25.h"
#include "barcode/code25i.h"
#include "barcode/code39.h"
#include "barcode/ean13.h"
#include "barcode/encode_result.h"
#include "barcode/gs1_128.h"
#include "barcode/imb.h"
#include "barcode/postnet.h"
#include "barcode/upca.h"

namespace sw {

inline constexpr std::string_view kNoDataMessage = "Error- no data to bar code";

// Converts the data for a type. The checksum option reaches only the types that take one.
EncodeResult MakeFontString(BarCodeType type, std::u32string_view text, bool checksum);

// A font string as drawn alone, in a picture: the Intelligent Mail face's glyphs are one bar
// each, so none carries the quiet zone; a space either side, which that face draws exactly as
// wide, adds it. Every other type's string carries its quiet zones already.
std::u32string AloneWithQuietZones(BarCodeType type, std::u32string fontString);

// The same for a type known when compiling, so that the encoder is inlined into its caller.
template <BarCodeType kType, class View, class Sink>
bool MakeInto(View text, bool checksum, Sink& out, std::string& message) {
    if (text.empty()) {
        message = kNoDataMessage;
        return false;
    }
    if constexpr (kType == BarCodeType::Type25) {
        return Encode25Into(text, out, message);
    } else if constexpr (kType == BarCodeType::Type25i) {
        return Encode25iInto(text, checksum, out, message);
    } else if constexpr (kType == BarCodeType::Type39) {
        return Encode39Into(text, checksum, out, message);
    } else if constexpr (kType == BarCodeType::TypePost) {
        return EncodePostInto(text, out, message);
    } else if constexpr (kType == BarCodeType::Type128) {
        return Encode128Into(text, out, message);
    } else if constexpr (kType == BarCodeType::TypeGS1_128) {
        return EncodeGS1_128Into(text, out, message);
    } else if constexpr (kType == BarCodeType::TypeEAN13) {
        return EncodeEAN13Into(text, out, message);
    } else if constexpr (kType == BarCodeType::TypeIMb) {
        return EncodeIMbInto(text, out, message);
    } else {
        return EncodeUPCInto(text, out, message);
    }
}

// The same, writing the font string to a sink; on failure nothing is written and `message`
// holds the error.
template <class View, class Sink>
bool MakeInto(BarCodeType type, View text, bool checksum, Sink& out, std::string& message) {
    switch (type) {
        case BarCodeType::Type25:
            return MakeInto<BarCodeType::Type25>(text, checksum, out, message);
        case BarCodeType::Type25i:
            return MakeInto<BarCodeType::Type25i>(text, checksum, out, message);
        case BarCodeType::Type39:
            return MakeInto<BarCodeType::Type39>(text, checksum, out, message);
        case BarCodeType::TypePost:
            return MakeInto<BarCodeType::TypePost>(text, checksum, out, message);
        case BarCodeType::Type128:
            return MakeInto<BarCodeType::Type128>(text, checksum, out, message);
        case BarCodeType::TypeGS1_128:
            return MakeInto<BarCodeType::TypeGS1_128>(text, checksum, out, message);
        case BarCodeType::TypeEAN13:
            return MakeInto<BarCodeType::TypeEAN13>(text, checksum, out, message);
        case BarCodeType::TypeIMb:
            return MakeInto<BarCodeType::TypeIMb>(text, checksum, out, message);
        case BarCodeType::TypeUPC:
            break;
    }
    return MakeInto<BarCodeType::TypeUPC>(text, checksum, out, message);
}

}  // namespace sw
