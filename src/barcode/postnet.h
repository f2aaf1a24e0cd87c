// PostNet: 5, 9, 11 or 12 digits and the check digit that makes the digit sum a multiple of 10,
// between the frame bars "(" and ")".
#pragma once

#include <string>

#include "barcode/check_digits.h"
#include "barcode/font_sink.h"
#include "barcode/type_encoder.h"

namespace sw {

template <class View, class Sink>
bool EncodePostInto(View text, Sink& out, std::string& message) {
    const std::size_t n = text.size();
    if (n != 5 && n != 9 && n != 11 && n != 12) {
        message = "Error, zip code must be 5, 9, 11, or 12 digits long";
        return false;
    }
    int sum = 0;  // at most 12 digits
    for (auto c : text) {
        if (!IsDigit(CodePoint(c))) {
            message = "Error, you can only encode digits with PostNet bar code";
            return false;
        }
        sum += DigitValue(CodePoint(c));
    }
    out.Reserve(n + 3);
    out.Put(U'(');
    out.PutAll(text);
    out.Put(DigitChar((10 - sum % 10) % 10));
    out.Put(U')');
    return true;
}

template <>
struct TypeEncoder<BarCodeType::TypePost> {
    template <class View, class Sink>
    static bool Into(View text, bool /*checksum*/, Sink& out, std::string& message) {
        return EncodePostInto(text, out, message);
    }
};

}  // namespace sw
