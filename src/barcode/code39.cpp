#include <array>

#include "barcode/encoders.h"
#include "barcode/text.h"

namespace sw {
namespace {

// Characters in value order: the value of a character is its index.
constexpr std::u32string_view kCode39Chars = U"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
static_assert(kCode39Chars.size() == 43);

// Value of each ASCII character, -1 where it is not legal.
constexpr std::array<signed char, 128> MakeValueTable() {
    std::array<signed char, 128> t{};
    for (auto& v : t) v = -1;
    for (std::size_t i = 0; i < kCode39Chars.size(); ++i) {
        t[kCode39Chars[i]] = static_cast<signed char>(i);
    }
    return t;
}
constexpr std::array<signed char, 128> kValues = MakeValueTable();
static_assert(kValues.size() == 128);

}  // namespace

bool IsCode39Char(char32_t c) { return c < 128 && kValues[c] >= 0; }

int Code39Value(char32_t c) { return IsCode39Char(c) ? kValues[c] : -1; }

char32_t Code39CheckChar(int value) {
    const char32_t c = kCode39Chars.at(static_cast<std::size_t>(value));
    return c == U' ' ? U'~' : c;
}

EncodeResult Encode39(std::u32string_view text, bool checksum) {
    std::u32string out;
    out.reserve(text.size() + 3);
    out += U'*';
    int sum = 0;  // kept modulo 43
    for (char32_t c : text) {
        if (!IsCode39Char(c)) {
            std::string message = "Error: input character \"";
            AppendUtf8(c, message);
            message += "\" not legal in bar code 3 of 9";
            return EncodeResult::Failure(std::move(message));
        }
        sum = (sum + kValues[c]) % 43;
        out += c == U' ' ? U'~' : c;
    }
    if (checksum) out += Code39CheckChar(sum);
    out += U'*';
    return EncodeResult::Success(std::move(out));
}

}  // namespace sw
