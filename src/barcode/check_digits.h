// Check digits shared by the numeric bar code types.
#pragma once

#include <string_view>

#include "barcode/font_sink.h"

namespace sw {

constexpr bool IsDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}
constexpr int DigitValue(char32_t c) {
    return static_cast<int>(c - U'0');
}
constexpr char32_t DigitChar(int d) {
    return static_cast<char32_t>(U'0' + d);
}

// Modulo 10 check digit with weights 3, 1, 3, 1, ... from the first digit on:
// (10 - weighted sum mod 10) mod 10. The text must hold digits only. The sum is kept modulo 10
// as it grows, so no length of input can overflow it.
template <class View>
int Mod10WeightedOf(View digits) {
    int sum = 0;
    bool three = true;
    for (auto c : digits) {
        sum = (sum + DigitValue(CodePoint(c)) * (three ? 3 : 1)) % 10;
        three = !three;
    }
    return (10 - sum) % 10;
}

int Mod10Weighted(std::u32string_view digits);

}  // namespace sw
