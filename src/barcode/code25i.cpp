#include "barcode/check_digits.h"
#include "barcode/encoders.h"

namespace sw {
namespace {

// The font character for a digit pair 00-99: 33-122 for 00-89, 161-170 for 90-99.
constexpr char32_t PairChar(int v) { return static_cast<char32_t>(v < 90 ? v + 33 : v + 71); }

static_assert(PairChar(0) == U'!' && PairChar(15) == U'0' && PairChar(59) == U'\\');
static_assert(PairChar(89) == U'z' && PairChar(90) == 161 && PairChar(99) == 170);

}  // namespace

EncodeResult Encode25i(std::u32string_view text, bool checksum) {
    const bool odd = text.size() % 2 == 1;
    if (odd && !checksum) {
        return EncodeResult::Failure("Error- you must have an even number of digits");
    }
    if (!odd && checksum) {
        return EncodeResult::Failure(
            "Error- you must have an odd number of digits with a checksum");
    }
    for (char32_t c : text) {
        if (!IsDigit(c)) {
            return EncodeResult::Failure(
                "Error- you can only encode digits with bar code 2 of 5 interleaved");
        }
    }
    const char32_t check = checksum ? DigitChar(Mod10Weighted(text)) : U'\0';
    const std::size_t digits = text.size() + (checksum ? 1 : 0);

    std::u32string out;
    out.reserve(digits / 2 + 2);
    out += U'{';
    for (std::size_t i = 0; i + 1 < digits; i += 2) {
        const char32_t second = i + 1 < text.size() ? text[i + 1] : check;
        out += PairChar(DigitValue(text[i]) * 10 + DigitValue(second));
    }
    out += U'}';
    return EncodeResult::Success(std::move(out));
}

}  // namespace sw
