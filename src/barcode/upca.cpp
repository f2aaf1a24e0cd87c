#include "barcode/check_digits.h"
#include "barcode/encoders.h"

namespace sw {

EncodeResult EncodeUPC(std::u32string_view text) {
    if (text.size() != 11) {
        return EncodeResult::Failure("Error, UPC-A codes must be 11 digits long");
    }
    for (char32_t c : text) {
        if (!IsDigit(c)) {
            return EncodeResult::Failure("Error, you can only encode digits with a UPC bar code");
        }
    }
    const int check = Mod10Weighted(text);
    std::u32string out;
    out.reserve(14);
    out += U' ';                                    // left quiet zone
    out += static_cast<char32_t>(80 + DigitValue(text[0]));  // guard and first digit, "P"-"Y"
    out += text.substr(1, 5);                        // left half, "0"-"9"
    out += U'|';                                     // centre guard
    for (std::size_t i = 6; i < 11; ++i) {
        out += static_cast<char32_t>(64 + DigitValue(text[i]));  // right half, "@"-"I"
    }
    out += static_cast<char32_t>(96 + check);  // check digit and right guard, "`"-"i"
    return EncodeResult::Success(std::move(out));
}

}  // namespace sw
