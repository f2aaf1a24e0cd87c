// Code 128 against worked examples, and random text read back as a scanner reads it, in the
// fewest symbol characters.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "barcode/check_digits.h"
#include "barcode/code128.h"
#include "barcode/code128_values.h"
#include "barcode/encoder_cases.h"

namespace sw {
namespace {

using test::ValuesCase;

TEST(Code128, WorkedExamplesGiveTheirValueSequences) {
    const ValuesCase cases[] = {
        {"Code 128", {104, 35, 79, 68, 69, 0, 17, 18, 24, 64, 106}},
        {"1234567890", {105, 12, 34, 56, 78, 90, 85, 106}},
        {"12345ABC", {105, 12, 34, 100, 21, 33, 34, 35, 50, 106}},
        {"AB123456cd", {104, 33, 34, 99, 12, 34, 56, 100, 67, 68, 20, 106}},
        {"ABC1234567", {104, 33, 34, 35, 17, 99, 23, 45, 67, 8, 106}},
        {"ab\tcd", {104, 65, 66, 98, 73, 67, 68, 85, 106}},
        {"ABC\tdef", {103, 33, 34, 35, 73, 100, 68, 69, 70, 80, 106}},
        // Boundaries: two digits alone, three digits, one digit.
        {"42", {105, 42, 42 * 1 + 105 - 103, 106}},
        {"123", {104, 17, 18, 19, (104 + 17 + 36 + 57) % 103, 106}},
        {"7", {104, 23, (104 + 23) % 103, 106}},
        // A small letter among control codes is shifted; the set stays A.
        {"\ta\t", {103, 73, 98, 65, 73, (103 + 73 + 2 * 98 + 3 * 65 + 4 * 73) % 103, 106}},
    };
    for (const auto& c : cases) {
        const EncodeResult r = MakeFontString(BarCodeType::Type128, DecodeUtf8(c.data), false);
        ASSERT_TRUE(r.ok()) << c.data << ": " << r.message();
        EXPECT_EQ(test::Code128Values(r.fontString()), c.values) << c.data;
    }
}

TEST(Code128, FontStringHoldsNoSpaceOrControlCode) {
    const EncodeResult r = MakeFontString(BarCodeType::Type128, U"a b\x1f~\x7f", false);
    ASSERT_TRUE(r.ok());
    for (char32_t c : r.fontString()) {
        EXPECT_TRUE(IsFontChar(c) && c != U' ') << static_cast<unsigned>(c);
    }
    const EncodeResult bad = MakeFontString(BarCodeType::Type128, U"caf\u00e9", false);
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.message(),
              "Error: input character \"\u00e9\" not legal in bar code 128 (ASCII only)");
}

// The fewest symbol characters between start and check that can carry `data` (ASCII): sets A,
// B and C, one character per latch or shift.
std::size_t Fewest128(const std::u32string& data) {
    const std::size_t n = data.size();
    constexpr std::size_t kMany = 1u << 30;
    std::vector<std::array<std::size_t, 3>> best(n + 1, {kMany, kMany, kMany});
    best[0] = {0, 0, 0};
    auto digit = [&](std::size_t i) { return i < n && IsDigit(data[i]); };
    for (std::size_t i = 0; i <= n; ++i) {
        auto& b = best[i];
        const std::size_t low = std::min({b[0], b[1], b[2]});
        for (auto& x : b) x = std::min(x, low + 1);  // latch
        if (i == n)
            break;
        const char32_t c = data[i];
        auto relax = [&](std::size_t j, int set, std::size_t cost) {
            best[j][static_cast<std::size_t>(set)] =
                std::min(best[j][static_cast<std::size_t>(set)], cost);
        };
        relax(i + 1, 0, b[0] + (c < 96 ? 1 : 2));   // A, or shift for a small letter
        relax(i + 1, 1, b[1] + (c >= 32 ? 1 : 2));  // B, or shift for a control code
        if (digit(i) && digit(i + 1))
            relax(i + 2, 2, b[2] + 1);
    }
    return std::min({best[n][0], best[n][1], best[n][2]});
}

TEST(Property, Code128ReadsBackShortestWithVerifyingCheck) {
    std::mt19937 rng(128);
    const std::u32string_view alphabet = U"0000000000111222345AZ az~\t\x01\x7f";
    for (int i = 0; i < test::kRounds; ++i) {
        const std::u32string data = test::RandomFrom(rng, alphabet, test::RandomLength(rng, 24));
        const EncodeResult r = MakeFontString(BarCodeType::Type128, data, false);
        ASSERT_TRUE(r.ok());
        const std::u32string& s = r.fontString();
        test::ExpectFontChars(s);
        std::vector<int> v;
        for (char32_t c : s) v.push_back(code128::ValueOf(c));
        ASSERT_GE(v.size(), 3u);
        ASSERT_EQ(v.back(), code128::kStop);
        std::uint64_t sum = static_cast<std::uint64_t>(v[0]);
        for (std::size_t k = 1; k + 2 < v.size(); ++k) sum += k * static_cast<std::uint64_t>(v[k]);
        ASSERT_EQ(static_cast<int>(sum % 103), v[v.size() - 2]);
        // Read the values back as a scanner does.
        int set = v[0] - code128::kStartA;
        std::u32string read;
        for (std::size_t k = 1; k + 2 < v.size(); ++k) {
            const int x = v[k];
            int use = set;
            if (set != 2 && x == code128::kShift) {
                use = 1 - set;
                ++k;
            }
            const int y = v[k];
            if (use == 2 && y < 100) {
                read += DigitChar(y / 10);
                read += DigitChar(y % 10);
            } else if (y == code128::kCodeA && use != 0) {
                set = 0;
            } else if (y == code128::kCodeB && use != 1) {
                set = 1;
            } else if (y == code128::kCodeC) {
                set = 2;
            } else {
                ASSERT_LT(y, 96);
                read += static_cast<char32_t>(use == 0 && y >= 64 ? y - 64 : y + 32);
            }
        }
        ASSERT_EQ(read, data);
        ASSERT_EQ(v.size() - 3, Fewest128(data)) << EncodeUtf8(data);
    }
}

}  // namespace
}  // namespace sw
