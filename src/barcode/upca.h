// UPC-A: 11 digits and the check digit. The font has a character range for each place: the
// first digit with the left guard ("P"-"Y"), the rest of the left half ("0"-"9"), the centre
// guard ("|"), the right half ("@"-"I") and the check digit with the right guard ("`"-"i"). A
// leading space is the left quiet zone.
#pragma once

#include <string>

#include "barcode/check_digits.h"
#include "barcode/code25i.h"
#include "barcode/font_sink.h"
#include "barcode/type_encoder.h"

namespace sw {

template <class View, class Sink>
bool EncodeUPCInto(View text, Sink& out, std::string& message) {
    if (text.size() != 11) {
        message = "Error, UPC-A codes must be 11 digits long";
        return false;
    }
    for (auto c : text) {
        if (!IsDigit(CodePoint(c))) {
            message = "Error, you can only encode digits with a UPC bar code";
            return false;
        }
    }
    auto digit = [&](std::size_t i) { return DigitValue(CodePoint(text[i])); };
    out.Reserve(14);
    out.Put(U' ');
    out.Put(static_cast<char32_t>(80 + digit(0)));
    for (std::size_t i = 1; i < 6; ++i) out.Put(CodePoint(text[i]));
    out.Put(U'|');
    for (std::size_t i = 6; i < 11; ++i) out.Put(static_cast<char32_t>(64 + digit(i)));
    out.Put(static_cast<char32_t>(96 + Mod10WeightedOf(text)));
    return true;
}

template <>
struct TypeEncoder<BarCodeType::TypeUPC> {
    template <class View, class Sink>
    static bool Into(View text, bool /*checksum*/, Sink& out, std::string& message) {
        return EncodeUPCInto(text, out, message);
    }
};

}  // namespace sw
