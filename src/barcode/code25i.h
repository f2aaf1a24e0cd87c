// Interleaved 2 of 5: digit pairs, each drawn by one character, between "{" and "}". With the
// checksum option the data has an odd number of digits and the modulo 10 check digit (weights
// 3, 1, 3, ...) completes the last pair.
#pragma once

#include <string>

#include "barcode/check_digits.h"
#include "barcode/font_sink.h"
#include "barcode/type_encoder.h"

namespace sw {

// The font character for a digit pair 00-99: 33-122 for 00-89, 161-170 for 90-99.
constexpr char32_t PairChar(int v) {
    return static_cast<char32_t>(v < 90 ? v + 33 : v + 71);
}

static_assert(PairChar(0) == U'!' && PairChar(15) == U'0' && PairChar(59) == U'\\');
static_assert(PairChar(89) == U'z' && PairChar(90) == 161 && PairChar(99) == 170);

template <class View, class Sink>
bool Encode25iInto(View text, bool checksum, Sink& out, std::string& message) {
    const bool odd = text.size() % 2 == 1;
    if (odd && !checksum) {
        message = "Error- you must have an even number of digits";
        return false;
    }
    if (!odd && checksum) {
        message = "Error- you must have an odd number of digits with a checksum";
        return false;
    }
    for (auto c : text) {
        if (!IsDigit(CodePoint(c))) {
            message = "Error- you can only encode digits with bar code 2 of 5 interleaved";
            return false;
        }
    }
    const int check = checksum ? Mod10WeightedOf(text) : 0;
    const std::size_t n = text.size();
    out.Reserve(n / 2 + 3);
    out.Put(U'{');
    for (std::size_t i = 0; i + 1 < n; i += 2) {
        out.Put(PairChar(DigitValue(CodePoint(text[i])) * 10 + DigitValue(CodePoint(text[i + 1]))));
    }
    if (checksum)
        out.Put(PairChar(DigitValue(CodePoint(text[n - 1])) * 10 + check));
    out.Put(U'}');
    return true;
}

template <>
struct TypeEncoder<BarCodeType::Type25i> {
    template <class View, class Sink>
    static bool Into(View text, bool checksum, Sink& out, std::string& message) {
        return Encode25iInto(text, checksum, out, message);
    }
};

}  // namespace sw
