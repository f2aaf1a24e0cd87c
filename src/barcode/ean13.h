// EAN-13: 12 digits and the check digit (computed), or 13 digits whose check digit is verified.
// The first digit is drawn as text only: it chooses which of digits 2-7 use odd (L) or even (G)
// parity. The font's character ranges:
//   "P"-"Y"  first digit, in the left quiet zone, with the left guard
//   "0"-"9"  a left-half digit of odd parity (L)
//   "p"-"y"  a left-half digit of even parity (G)
//   "|"      the centre guard
//   "@"-"I"  a right-half digit (R)
//   "`"-"i"  the check digit (R) with the right guard and the right quiet zone
// The left half, centre guard and right half are drawn as in the UPC-A font.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "barcode/check_digits.h"
#include "barcode/font_sink.h"
#include "barcode/type_encoder.h"

namespace sw {

// For each first digit, one bit per digit 2-7 (bit 0 = digit 2) set where the digit is G.
inline constexpr std::array<std::uint8_t, 10> kEan13EvenParity{
    0b000000, 0b110100, 0b101100, 0b011100, 0b110010,
    0b100110, 0b001110, 0b101010, 0b011010, 0b010110,
};
static_assert(kEan13EvenParity.size() == 10);

template <class View, class Sink>
bool EncodeEAN13Into(View text, Sink& out, std::string& message) {
    const std::size_t n = text.size();
    if (n != 12 && n != 13) {
        message = "Error, EAN-13 codes must be 12 digits (13 with the check digit)";
        return false;
    }
    int digit[13];
    int sum = 0;  // weights 1, 3, 1, ... from the first digit
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t c = CodePoint(text[i]);
        if (!IsDigit(c)) {
            message = "Error, you can only encode digits with an EAN-13 bar code";
            return false;
        }
        digit[i] = DigitValue(c);
        if (i < 12)
            sum += digit[i] * (i % 2 == 0 ? 1 : 3);
    }
    const int check = (10 - sum % 10) % 10;
    if (n == 13 && digit[12] != check) {
        message = "Error, the EAN-13 check digit is " + std::to_string(digit[12]) +
                  " but should be " + std::to_string(check);
        return false;
    }
    digit[12] = check;
    const unsigned even = kEan13EvenParity[static_cast<std::size_t>(digit[0])];
    out.Reserve(14);
    out.Put(static_cast<char32_t>(U'P' + digit[0]));
    for (int i = 1; i < 7; ++i) {
        const char32_t base = (even >> (i - 1)) & 1u ? U'p' : U'0';
        out.Put(base + static_cast<char32_t>(digit[i]));
    }
    out.Put(U'|');
    for (int i = 7; i < 12; ++i) out.Put(static_cast<char32_t>(U'@' + digit[i]));
    out.Put(static_cast<char32_t>(U'`' + digit[12]));
    return true;
}

template <>
struct TypeEncoder<BarCodeType::TypeEAN13> {
    template <class View, class Sink>
    static bool Into(View text, bool /*checksum*/, Sink& out, std::string& message) {
        return EncodeEAN13Into(text, out, message);
    }
};

}  // namespace sw
