// USPS Intelligent Mail barcode: a 20-digit tracking code and a routing code (ZIP code) of 0,
// 5, 9 or 11 digits, written "TRACKING" or "TRACKING-ROUTING", become 65 bars of four states.
// The font string is the states as letters: "F" full bar, "A" ascender, "D" descender,
// "T" tracker.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <string>

#include "barcode/check_digits.h"
#include "barcode/font_sink.h"
#include "barcode/type_encoder.h"

namespace sw {

namespace imb {

// The 13-bit characters with `bits` bits set, each next to its bit-reversed partner, the
// characters that are their own reverse at the end, the last found first.
template <std::size_t kSize>
constexpr std::array<std::uint16_t, kSize> MakeCharacterTable(int bits) {
    std::array<std::uint16_t, kSize> t{};
    std::size_t lo = 0;
    std::size_t hi = kSize - 1;
    for (unsigned c = 0; c < 8192; ++c) {
        if (std::popcount(c) != bits)
            continue;
        unsigned r = 0;
        for (int b = 0; b < 13; ++b) r |= ((c >> b) & 1u) << (12 - b);
        if (r < c)
            continue;
        if (r == c) {
            t[hi--] = static_cast<std::uint16_t>(c);
        } else {
            t[lo++] = static_cast<std::uint16_t>(c);
            t[lo++] = static_cast<std::uint16_t>(r);
        }
    }
    return t;
}
inline constexpr std::array<std::uint16_t, 1287> kFiveOfThirteen = MakeCharacterTable<1287>(5);
inline constexpr std::array<std::uint16_t, 78> kTwoOfThirteen = MakeCharacterTable<78>(2);
static_assert(kFiveOfThirteen[0] == 0x001F && kFiveOfThirteen[1] == 0x1F00);
static_assert(kFiveOfThirteen[1271] == 0x1883 && kFiveOfThirteen[1286] == 0x01F0);
static_assert(kTwoOfThirteen[0] == 0x0003 && kTwoOfThirteen[77] == 0x00A0);

// For each bar from the left: the character (0-9 for A-J) and bit of its descender, then of
// its ascender.
struct BarBits {
    std::uint8_t descChar, descBit, ascChar, ascBit;
};
inline constexpr std::array<BarBits, 65> kBars{{
    // clang-format off
    {7, 2, 4, 3}, {1, 10, 0, 0}, {9, 12, 2, 8}, {5, 5, 6, 11}, {8, 9, 3, 1},
    {0, 1, 5, 12}, {2, 5, 1, 8}, {4, 4, 9, 11}, {6, 3, 8, 10}, {3, 9, 7, 6},
    {5, 11, 1, 4}, {8, 5, 2, 12}, {9, 10, 0, 2}, {7, 1, 6, 7}, {3, 6, 4, 9},
    {0, 3, 8, 6}, {6, 4, 2, 7}, {1, 1, 9, 9}, {7, 10, 5, 2}, {4, 0, 3, 8},
    {6, 2, 0, 4}, {8, 11, 1, 0}, {9, 8, 3, 12}, {2, 6, 7, 7}, {5, 1, 4, 10},
    {1, 12, 6, 9}, {7, 3, 8, 0}, {5, 8, 9, 7}, {4, 6, 2, 10}, {3, 4, 0, 5},
    {8, 4, 5, 7}, {7, 11, 1, 9}, {6, 0, 9, 6}, {0, 6, 4, 8}, {2, 1, 3, 2},
    {5, 9, 8, 12}, {4, 11, 6, 1}, {9, 5, 7, 4}, {3, 3, 1, 2}, {0, 7, 2, 0},
    {1, 3, 4, 1}, {6, 10, 3, 5}, {8, 7, 9, 4}, {2, 11, 5, 6}, {0, 8, 7, 12},
    {4, 2, 8, 1}, {5, 10, 3, 0}, {9, 3, 0, 9}, {6, 5, 2, 4}, {7, 8, 1, 7},
    {5, 0, 4, 5}, {2, 3, 0, 10}, {6, 12, 9, 2}, {3, 11, 1, 6}, {8, 8, 7, 9},
    {5, 4, 0, 11}, {1, 5, 2, 2}, {9, 1, 4, 12}, {8, 3, 6, 6}, {7, 0, 3, 7},
    {4, 7, 7, 5}, {0, 12, 1, 11}, {2, 9, 9, 0}, {6, 8, 5, 3}, {3, 10, 8, 2},
    // clang-format on
}};
static_assert(kBars.size() == 65);

// The binary value: at most 102 bits, in four 32-bit limbs, most significant first.
struct Value {
    std::array<std::uint32_t, 4> limb{};

    void MulAdd(std::uint32_t m, std::uint64_t a) {
        std::uint64_t carry = a;
        for (std::size_t i = 4; i-- > 0;) {
            const std::uint64_t t = std::uint64_t{limb[i]} * m + carry;
            limb[i] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
    }
    // With the divisor known when compiling, the divisions become multiplications.
    template <std::uint32_t kDivisor>
    std::uint32_t DivMod() {
        std::uint64_t rem = 0;
        for (auto& l : limb) {
            const std::uint64_t t = (rem << 32) | l;
            l = static_cast<std::uint32_t>(t / kDivisor);
            rem = t % kDivisor;
        }
        return static_cast<std::uint32_t>(rem);
    }
};

// One bit into the 11-bit frame check sequence (generator 0xF35, most significant bit first).
constexpr unsigned FrameCheckBit(unsigned fcs, unsigned bit) {
    return ((fcs >> 10) ^ bit) & 1u ? ((fcs << 1) ^ 0x0F35u) & 0x7FFu : (fcs << 1) & 0x7FFu;
}

// The sequence after eight bits, for each top byte of the register XOR the data byte.
constexpr std::array<std::uint16_t, 256> MakeFrameCheckTable() {
    std::array<std::uint16_t, 256> t{};
    for (unsigned b = 0; b < 256; ++b) {
        unsigned fcs = b << 3;
        for (int i = 0; i < 8; ++i) fcs = FrameCheckBit(fcs, 0);
        t[b] = static_cast<std::uint16_t>(fcs);
    }
    return t;
}
inline constexpr std::array<std::uint16_t, 256> kFrameCheck = MakeFrameCheckTable();
static_assert(kFrameCheck.size() == 256);

// The 11-bit frame check sequence over the 102 low bits of the value: the six low bits of its
// thirteenth byte from the end, then twelve whole bytes.
inline unsigned FrameCheck(const Value& v) {
    unsigned fcs = 0x7FF;
    for (int bit = 5; bit >= 0; --bit) fcs = FrameCheckBit(fcs, (v.limb[0] >> bit) & 1u);
    for (std::size_t k = 1; k < 4; ++k) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            const unsigned byte = (v.limb[k] >> shift) & 0xFFu;
            fcs = ((fcs << 8) & 0x7FFu) ^ kFrameCheck[((fcs >> 3) ^ byte) & 0xFFu];
        }
    }
    return fcs;
}

// The 65 bar letters of the digits (20 tracking, then 0, 5, 9 or 11 routing).
template <class Digits, class Sink>
void WriteBars(const Digits& digit, std::size_t routing, Sink& out) {
    Value v;
    std::uint64_t zip = 0;
    for (std::size_t i = 0; i < routing; ++i) zip = zip * 10 + static_cast<unsigned>(digit(20 + i));
    if (routing == 5)
        zip += 1;
    else if (routing == 9)
        zip += 100001;
    else if (routing == 11)
        zip += 1000100001;
    v.limb[2] = static_cast<std::uint32_t>(zip >> 32);
    v.limb[3] = static_cast<std::uint32_t>(zip);
    v.MulAdd(10, static_cast<unsigned>(digit(0)));
    v.MulAdd(5, static_cast<unsigned>(digit(1)));
    // The other eighteen digits nine at a time: 10^9 and a nine-digit number fit 32 bits.
    for (std::size_t i = 2; i < 20; i += 9) {
        std::uint32_t nine = 0;
        for (std::size_t k = i; k < i + 9; ++k) nine = nine * 10 + static_cast<unsigned>(digit(k));
        v.MulAdd(1'000'000'000, nine);
    }

    const unsigned fcs = FrameCheck(v);
    std::array<unsigned, 10> cw{};
    cw[9] = v.DivMod<636>() * 2;
    for (std::size_t i = 9; i-- > 1;) cw[i] = v.DivMod<1365>();
    cw[0] = v.limb[3] + ((fcs & 0x400u) ? 659u : 0u);

    std::array<unsigned, 10> ch{};
    for (std::size_t i = 0; i < 10; ++i) {
        ch[i] = cw[i] < 1287 ? kFiveOfThirteen[cw[i]] : kTwoOfThirteen[cw[i] - 1287];
        if ((fcs >> i) & 1u)
            ch[i] ^= 0x1FFFu;
    }
    constexpr char32_t kLetter[4] = {U'T', U'D', U'A', U'F'};  // by ascender * 2 + descender
    std::array<char32_t, 65> bars{};
    for (std::size_t i = 0; i < 65; ++i) {
        const BarBits& b = kBars[i];
        const unsigned desc = (ch[b.descChar] >> b.descBit) & 1u;
        const unsigned asc = (ch[b.ascChar] >> b.ascBit) & 1u;
        bars[i] = kLetter[asc * 2 + desc];
    }
    out.Reserve(65);
    out.PutAll(std::u32string_view(bars.data(), bars.size()));
}

}  // namespace imb

template <class View, class Sink>
bool EncodeIMbInto(View text, Sink& out, std::string& message) {
    // Digits, with at most one "-" after the 20 digits of the tracking code.
    const std::size_t n = text.size();
    std::size_t hyphen = n;
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t c = CodePoint(text[i]);
        if (c == U'-' && hyphen == n) {
            hyphen = i;
        } else if (!IsDigit(c)) {
            message =
                "Error, the Intelligent Mail barcode takes digits only: the tracking code, "
                "then \"-\" and the routing code";
            return false;
        }
    }
    const std::size_t digits = hyphen == n ? n : n - 1;
    if ((hyphen != n && hyphen != 20) || digits < 20) {
        message = "Error, the tracking code must be 20 digits long";
        return false;
    }
    const std::size_t routing = digits - 20;
    if (routing != 0 && routing != 5 && routing != 9 && routing != 11) {
        message = "Error, the routing code must be 5, 9 or 11 digits long";
        return false;
    }
    auto digit = [&](std::size_t i) {
        return DigitValue(CodePoint(text[i < 20 || hyphen == n ? i : i + 1]));
    };
    if (digit(1) > 4) {
        message = "Error, the second digit of the barcode identifier must be 0 to 4";
        return false;
    }
    imb::WriteBars(digit, routing, out);
    return true;
}

template <>
struct TypeEncoder<BarCodeType::TypeIMb> {
    template <class View, class Sink>
    static bool Into(View text, bool /*checksum*/, Sink& out, std::string& message) {
        return EncodeIMbInto(text, out, message);
    }
};

}  // namespace sw
