// Code 3 of 9: the 43 characters, each drawn at its own code except the space, drawn at "~";
// "*" starts and stops the symbol; the optional check character is the sum of the values
// modulo 43.
#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "barcode/font_sink.h"
#include "barcode/text.h"
#include "barcode/type_encoder.h"

namespace sw {

// Characters in value order: the value of a character is its index.
inline constexpr std::u32string_view kCode39Chars = U"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
static_assert(kCode39Chars.size() == 43);

// Value of each character below 256, -1 where it is not legal.
constexpr std::array<signed char, 256> MakeCode39Values() {
    std::array<signed char, 256> t{};
    for (auto& v : t) v = -1;
    for (std::size_t i = 0; i < kCode39Chars.size(); ++i) {
        t[kCode39Chars[i]] = static_cast<signed char>(i);
    }
    return t;
}
inline constexpr std::array<signed char, 256> kCode39Values = MakeCode39Values();
static_assert(kCode39Values.size() == 256);

constexpr int Code39ValueOf(char32_t c) {
    return c < 256 ? kCode39Values[c] : -1;
}
constexpr char32_t Code39FontChar(char32_t c) {
    return c == U' ' ? U'~' : c;
}

// The font byte of each byte that is a legal character (the space's is "~"), 0 elsewhere.
constexpr std::array<unsigned char, 256> MakeCode39FontBytes() {
    std::array<unsigned char, 256> t{};
    for (char32_t c : kCode39Chars) t[c] = static_cast<unsigned char>(Code39FontChar(c));
    return t;
}
inline constexpr std::array<unsigned char, 256> kCode39FontBytes = MakeCode39FontBytes();
static_assert(kCode39FontBytes.size() == 256);

// A sink that hands out a raw byte pointer for ASCII output (see the command-line encoder).
template <class Sink>
concept RawByteSink = requires(Sink& s, std::size_t n) {
    { s.Room() } -> std::same_as<char*>;
    s.Advance(n);
};

// The font byte of each byte in the low 8 bits and its value above them; 0x8000 marks a byte
// that is not a legal character.
constexpr std::array<std::uint16_t, 256> MakeCode39Entries() {
    std::array<std::uint16_t, 256> t{};
    for (std::size_t c = 0; c < t.size(); ++c) {
        t[c] = kCode39Values[c] < 0
                   ? 0x8000u
                   : static_cast<std::uint16_t>(kCode39FontBytes[c] | (kCode39Values[c] << 8));
    }
    return t;
}
inline constexpr std::array<std::uint16_t, 256> kCode39Entries = MakeCode39Entries();

// Writes the font bytes of ASCII text straight into `out` and, when `kSum`, adds up the values;
// returns false when a byte is not a legal character (what was written is then to be
// discarded).
template <bool kSum>
inline bool Code39Bytes(std::string_view text, char* out, std::uint64_t& sum) {
    unsigned seen = 0;
    std::uint64_t s = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned e = kCode39Entries[static_cast<unsigned char>(text[i])];
        seen |= e;
        if constexpr (kSum)
            s += e >> 8;
        out[i] = static_cast<char>(e);
    }
    sum = s;
    return (seen & 0x8000u) == 0;
}

// Names the first character of `text` that is not legal. Kept out of line: it is the rare path.
template <class View>
[[gnu::noinline, gnu::cold]] void Code39IllegalMessage(View text, std::string& message) {
    for (auto ch : text) {
        const char32_t c = CodePoint(ch);
        if (Code39ValueOf(c) < 0) {
            message = "Error: input character \"";
            AppendUtf8(c, message);
            message += "\" not legal in bar code 3 of 9";
            break;
        }
    }
}

template <class View, class Sink>
bool Encode39Into(View text, bool checksum, Sink& out, std::string& message) {
    out.Reserve(text.size() + 3);
    const std::size_t start = out.size();
    out.Put(U'*');
    // One pass writes and checks at once; the rare illegal text is rolled back below. The sum
    // cannot overflow: it would take over 10^17 characters.
    std::uint64_t sum = 0;
    bool legal = true;
    if constexpr (std::is_same_v<View, std::string_view> && RawByteSink<Sink>) {
        legal = checksum ? Code39Bytes<true>(text, out.Room(), sum)
                         : Code39Bytes<false>(text, out.Room(), sum);
        out.Advance(text.size());
    } else {
        out.PutAll(text, [&](char32_t c) {
            const int value = Code39ValueOf(c);
            legal &= value >= 0;
            sum += static_cast<std::uint64_t>(value);
            return Code39FontChar(c);
        });
    }
    if (!legal) {
        out.Truncate(start);
        Code39IllegalMessage(text, message);
        return false;
    }
    if (checksum)
        out.Put(Code39FontChar(kCode39Chars[sum % 43]));
    out.Put(U'*');
    return true;
}

template <>
struct TypeEncoder<BarCodeType::Type39> {
    template <class View, class Sink>
    static bool Into(View text, bool checksum, Sink& out, std::string& message) {
        return Encode39Into(text, checksum, out, message);
    }
};

}  // namespace sw
