#include "barcode/check_digits.h"
#include "barcode/encoders.h"

namespace sw {

EncodeResult Encode25(std::u32string_view text) {
    for (char32_t c : text) {
        if (!IsDigit(c)) {
            return EncodeResult::Failure("Error- you can only encode digits with bar code 2 of 5");
        }
    }
    std::u32string out;
    out.reserve(text.size() + 2);
    out += U'(';
    out += text;
    out += U')';
    return EncodeResult::Success(std::move(out));
}

}  // namespace sw
