#include "barcode/check_digits.h"
#include "barcode/encoders.h"

namespace sw {

EncodeResult EncodePost(std::u32string_view text) {
    const std::size_t n = text.size();
    if (n != 5 && n != 9 && n != 11 && n != 12) {
        return EncodeResult::Failure("Error, zip code must be 5, 9, 11, or 12 digits long");
    }
    for (char32_t c : text) {
        if (!IsDigit(c)) {
            return EncodeResult::Failure(
                "Error, you can only encode digits with PostNet bar code");
        }
    }
    std::u32string out;
    out.reserve(n + 3);
    out += U'(';
    out += text;
    out += DigitChar(Mod10Plain(text));
    out += U')';
    return EncodeResult::Success(std::move(out));
}

}  // namespace sw
