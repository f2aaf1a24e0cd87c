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
        // A single character of the other set at the end is shifted too.
        {std::string_view("a\0", 2), {104, 65, 98, 64, (104 + 65 + 2 * 98 + 3 * 64) % 103, 106}},
        {"\x01"
         "a",
         {103, 65, 98, 65, (103 + 65 + 2 * 98 + 3 * 65) % 103, 106}},
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

// The fewest symbol characters between start and check that can carry `data` (ASCII, and FNC1
// as code128::kFnc1Code): sets A, B and C, one character per latch or shift, FNC1 in any set.
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
        if (c == code128::kFnc1Code) {
            for (int set = 0; set < 3; ++set)
                relax(i + 1, set, b[static_cast<std::size_t>(set)] + 1);
            continue;
        }
        relax(i + 1, 0, b[0] + (c < 96 ? 1 : 2));   // A, or shift for a small letter
        relax(i + 1, 1, b[1] + (c >= 32 ? 1 : 2));  // B, or shift for a control code
        if (digit(i) && digit(i + 1))
            relax(i + 2, 2, b[2] + 1);
    }
    return std::min({best[n][0], best[n][1], best[n][2]});
}

// Reads a Code 128 font string back as a scanner does, FNC1 as code128::kFnc1Code, after
// verifying the stop and the check character; `symbols` counts those between start and check.
void Read128(const std::u32string& s, std::u32string& read, std::size_t& symbols) {
    test::ExpectFontChars(s);
    std::vector<int> v;
    for (char32_t c : s) v.push_back(code128::ValueOf(c));
    ASSERT_GE(v.size(), 3u);
    ASSERT_EQ(v.back(), code128::kStop);
    std::uint64_t sum = static_cast<std::uint64_t>(v[0]);
    for (std::size_t k = 1; k + 2 < v.size(); ++k) sum += k * static_cast<std::uint64_t>(v[k]);
    ASSERT_EQ(static_cast<int>(sum % 103), v[v.size() - 2]);
    symbols = v.size() - 3;
    int set = v[0] - code128::kStartA;
    read.clear();
    for (std::size_t k = 1; k + 2 < v.size(); ++k) {
        const int x = v[k];
        int use = set;
        if (set != 2 && x == code128::kShift) {
            use = 1 - set;
            ++k;
        }
        const int y = v[k];
        if (y == code128::kFnc1) {
            read += code128::kFnc1Code;
        } else if (use == 2 && y < 100) {
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
}

TEST(Property, Code128ReadsBackShortestWithVerifyingCheck) {
    std::mt19937 rng(128);
    const std::u32string_view alphabet = U"0000000000111222345AZ az~\t\x01\x7f";
    for (int i = 0; i < test::kRounds; ++i) {
        const std::u32string data = test::RandomFrom(rng, alphabet, test::RandomLength(rng, 24));
        const EncodeResult r = MakeFontString(BarCodeType::Type128, data, false);
        ASSERT_TRUE(r.ok());
        std::u32string read;
        std::size_t symbols = 0;
        ASSERT_NO_FATAL_FAILURE(Read128(r.fontString(), read, symbols));
        ASSERT_EQ(read, data);
        ASSERT_EQ(symbols, Fewest128(data)) << EncodeUtf8(data);
    }
}

// Random valid element strings: some of predefined length, which need no separator, and some
// of variable length, short and digit-heavy, so that separators fall in and next to runs of
// digits. (01) comes along with the AIs that need it.
TEST(Property, Gs1ReadsBackShortestWithSeparators) {
    std::mt19937 rng(1128);
    enum class Kind { Gtin, Date, Measure, Digits, Text };
    struct Ai {
        const char* ai;
        Kind kind;
        bool needsGtin;
    };
    const Ai ais[] = {
        {"01", Kind::Gtin, false}, {"17", Kind::Date, true},   {"3103", Kind::Measure, true},
        {"10", Kind::Text, true},  {"21", Kind::Text, true},   {"30", Kind::Digits, true},
        {"90", Kind::Text, false}, {"400", Kind::Text, false}, {"91", Kind::Text, false}};
    std::uniform_int_distribution<int> d10(0, 9);
    auto digits = [&](std::size_t n) {
        std::u32string s;
        for (std::size_t k = 0; k < n; ++k) s += DigitChar(d10(rng));
        return s;
    };
    auto value = [&](Kind kind) -> std::u32string {
        switch (kind) {
            case Kind::Gtin: {
                std::u32string v = digits(13);
                int sum = 0;
                for (std::size_t j = 0; j < 13; ++j) sum += DigitValue(v[j]) * (j % 2 == 0 ? 3 : 1);
                return v + DigitChar((10 - sum % 10) % 10);
            }
            case Kind::Date:  // months 01 and 11, days 00 to 29
                return digits(2) + DigitChar(d10(rng) % 2) + U"1" + DigitChar(d10(rng) % 3) +
                       DigitChar(d10(rng));
            case Kind::Measure:
                return digits(6);
            case Kind::Digits:
                return digits(test::RandomLength(rng, 5));
            case Kind::Text:
                return test::RandomFrom(rng, U"00000111223AZaz-", test::RandomLength(rng, 5));
        }
        return {};
    };
    for (int i = 0; i < test::kRounds; ++i) {
        std::u32string text, expected;
        do {
            std::vector<const Ai*> chosen;
            bool gtin = false;
            for (const Ai& ai : ais) {
                if (rng() % 3 == 0)
                    chosen.push_back(&ai);
            }
            for (const Ai* ai : chosen) gtin = gtin || ai->needsGtin;
            if (chosen.empty())
                chosen.push_back(&ais[6]);
            if (gtin && chosen.front() != &ais[0])
                chosen.push_back(&ais[0]);
            std::shuffle(chosen.begin(), chosen.end(), rng);
            text.clear();
            expected.assign(1, code128::kFnc1Code);
            for (std::size_t k = 0; k < chosen.size(); ++k) {
                const Ai& ai = *chosen[k];
                const std::u32string aiText = DecodeUtf8(ai.ai);
                const std::u32string data = value(ai.kind);
                text += U"(" + aiText + U")" + data;
                expected += aiText + data;
                const bool predefined =
                    ai.kind == Kind::Gtin || ai.kind == Kind::Date || ai.kind == Kind::Measure;
                if (!predefined && k + 1 < chosen.size())
                    expected += code128::kFnc1Code;
            }
        } while (expected.size() > 1 + 48);
        const EncodeResult r = MakeFontString(BarCodeType::TypeGS1_128, text, false);
        ASSERT_TRUE(r.ok()) << EncodeUtf8(text) << ": " << r.message();
        std::u32string read;
        std::size_t symbols = 0;
        ASSERT_NO_FATAL_FAILURE(Read128(r.fontString(), read, symbols));
        ASSERT_EQ(read, expected) << EncodeUtf8(text);
        ASSERT_EQ(symbols, Fewest128(expected)) << EncodeUtf8(text);
    }
}

}  // namespace
}  // namespace sw
