// Code 2 of 5: digits only, each drawn at its own code, between "(" and ")".
#pragma once

#include <string>

#include "barcode/check_digits.h"
#include "barcode/font_sink.h"
#include "barcode/type_encoder.h"

namespace sw {

template <class View, class Sink>
bool Encode25Into(View text, Sink& out, std::string& message) {
    for (auto c : text) {
        if (!IsDigit(CodePoint(c))) {
            message = "Error- you can only encode digits with bar code 2 of 5";
            return false;
        }
    }
    out.Reserve(text.size() + 2);
    out.Put(U'(');
    out.PutAll(text);
    out.Put(U')');
    return true;
}

template <>
struct TypeEncoder<BarCodeType::Type25> {
    template <class View, class Sink>
    static bool Into(View text, bool /*checksum*/, Sink& out, std::string& message) {
        return Encode25Into(text, out, message);
    }
};

}  // namespace sw
