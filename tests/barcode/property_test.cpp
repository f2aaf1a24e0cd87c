// Properties over many random inputs: font strings hold only font characters, have the lengths
// the types give, and carry check characters that verify when read back from the font string.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "barcode/check_digits.h"
#include "barcode/code128.h"
#include "barcode/encoders.h"
#include "barcode/make.h"
#include "barcode/text.h"

namespace sw {
namespace {

constexpr int kRounds = 3000;

std::u32string RandomFrom(std::mt19937& rng, std::u32string_view alphabet, std::size_t n) {
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::u32string s;
    for (std::size_t i = 0; i < n; ++i) s += alphabet[pick(rng)];
    return s;
}

std::size_t RandomLength(std::mt19937& rng, std::size_t max) {
    return std::uniform_int_distribution<std::size_t>(1, max)(rng);
}

void ExpectFontChars(const std::u32string& s) {
    for (char32_t c : s) ASSERT_TRUE(IsFontChar(c)) << static_cast<unsigned>(c);
}

TEST(Property, Code39ReadsBackWithVerifyingCheck) {
    std::mt19937 rng(39);
    const std::u32string_view alphabet = U"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    for (int i = 0; i < kRounds; ++i) {
        const std::u32string data = RandomFrom(rng, alphabet, RandomLength(rng, 40));
        const EncodeResult r = Encode39(data, true);
        ASSERT_TRUE(r.ok());
        const std::u32string& s = r.fontString();
        ExpectFontChars(s);
        ASSERT_EQ(s.size(), data.size() + 3);
        ASSERT_EQ(s.front(), U'*');
        ASSERT_EQ(s.back(), U'*');
        int sum = 0;
        for (std::size_t k = 0; k < data.size(); ++k) {
            const char32_t c = s[k + 1] == U'~' ? U' ' : s[k + 1];
            ASSERT_EQ(c, data[k]);
            sum += Code39Value(c);
        }
        const char32_t check = s[s.size() - 2] == U'~' ? U' ' : s[s.size() - 2];
        ASSERT_EQ(Code39Value(check), sum % 43);
    }
}

TEST(Property, Interleaved25PairsReadBack) {
    std::mt19937 rng(25);
    for (int i = 0; i < kRounds; ++i) {
        const bool checksum = i % 2 == 0;
        std::size_t n = RandomLength(rng, 40);
        if ((n % 2 == 1) != checksum)
            ++n;
        const std::u32string data = RandomFrom(rng, U"0123456789", n);
        const EncodeResult r = Encode25i(data, checksum);
        ASSERT_TRUE(r.ok());
        const std::u32string& s = r.fontString();
        ExpectFontChars(s);
        ASSERT_EQ(s.size(), (n + (checksum ? 1 : 0)) / 2 + 2);
        ASSERT_EQ(s.front(), U'{');
        ASSERT_EQ(s.back(), U'}');
        std::u32string digits;
        for (std::size_t k = 1; k + 1 < s.size(); ++k) {
            const char32_t c = s[k];
            ASSERT_TRUE((c >= 33 && c <= 122) || (c >= 161 && c <= 170));
            const int v = c <= 122 ? static_cast<int>(c) - 33 : static_cast<int>(c) - 71;
            digits += DigitChar(v / 10);
            digits += DigitChar(v % 10);
        }
        ASSERT_EQ(digits.substr(0, n), data);
        if (checksum) {
            // Weighted 3,1,3,... over data and check together sums to a multiple of 10.
            int sum = 0;
            for (std::size_t k = 0; k < digits.size(); ++k) {
                sum += DigitValue(digits[k]) * (k % 2 == 0 ? 3 : 1);
            }
            ASSERT_EQ(sum % 10, 0);
        }
    }
}

TEST(Property, PostNetDigitsSumToMultipleOfTen) {
    std::mt19937 rng(5);
    const std::size_t lengths[] = {5, 9, 11, 12};
    for (int i = 0; i < kRounds; ++i) {
        const std::u32string data = RandomFrom(rng, U"0123456789", lengths[i % 4]);
        const EncodeResult r = EncodePost(data);
        ASSERT_TRUE(r.ok());
        const std::u32string& s = r.fontString();
        ExpectFontChars(s);
        ASSERT_EQ(s.size(), data.size() + 3);
        ASSERT_EQ(s.substr(1, data.size()), data);
        int sum = 0;
        for (std::size_t k = 1; k + 1 < s.size(); ++k) sum += DigitValue(s[k]);
        ASSERT_EQ(sum % 10, 0);
    }
}

TEST(Property, UpcReadsBackWithVerifyingCheck) {
    std::mt19937 rng(12);
    for (int i = 0; i < kRounds; ++i) {
        const std::u32string data = RandomFrom(rng, U"0123456789", 11);
        const EncodeResult r = EncodeUPC(data);
        ASSERT_TRUE(r.ok());
        const std::u32string& s = r.fontString();
        ExpectFontChars(s);
        ASSERT_EQ(s.size(), 14u);
        ASSERT_EQ(s[0], U' ');
        ASSERT_EQ(s[7], U'|');
        std::u32string digits;
        digits += DigitChar(static_cast<int>(s[1]) - 80);
        for (int k = 2; k <= 6; ++k) digits += s[static_cast<std::size_t>(k)];
        for (int k = 8; k <= 12; ++k)
            digits += DigitChar(static_cast<int>(s[static_cast<std::size_t>(k)]) - 64);
        digits += DigitChar(static_cast<int>(s[13]) - 96);
        ASSERT_EQ(digits.substr(0, 11), data);
        int sum = 0;
        for (std::size_t k = 0; k < 12; ++k) sum += DigitValue(digits[k]) * (k % 2 == 0 ? 3 : 1);
        ASSERT_EQ(sum % 10, 0);
    }
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
    ExpectFontChars(s);
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
    for (int i = 0; i < kRounds; ++i) {
        const std::u32string data = RandomFrom(rng, alphabet, RandomLength(rng, 24));
        const EncodeResult r = Encode128(data);
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
                return digits(RandomLength(rng, 5));
            case Kind::Text:
                return RandomFrom(rng, U"00000111223AZaz-", RandomLength(rng, 5));
        }
        return {};
    };
    for (int i = 0; i < kRounds; ++i) {
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
        const EncodeResult r = EncodeGS1_128(text);
        ASSERT_TRUE(r.ok()) << EncodeUtf8(text) << ": " << r.message();
        std::u32string read;
        std::size_t symbols = 0;
        ASSERT_NO_FATAL_FAILURE(Read128(r.fontString(), read, symbols));
        ASSERT_EQ(read, expected) << EncodeUtf8(text);
        ASSERT_EQ(symbols, Fewest128(expected)) << EncodeUtf8(text);
    }
}

TEST(Property, AnyTextGivesFontCharsOrOneError) {
    std::mt19937 rng(7);
    const std::u32string_view alphabet =
        U"0123456789ABCZaz -.*~{}\\|\u00a1\u00e9\u20ac\U0001F600\t";
    for (int i = 0; i < kRounds; ++i) {
        const std::u32string data = RandomFrom(rng, alphabet, RandomLength(rng, 14));
        for (const auto& info : kBarCodeTypes) {
            for (bool checksum : {false, true}) {
                const EncodeResult r = MakeFontString(info.type, data, checksum);
                if (r.ok()) {
                    ExpectFontChars(r.fontString());
                    ASSERT_TRUE(r.message().empty());
                } else {
                    ASSERT_TRUE(r.fontString().empty());
                    ASSERT_EQ(r.message().rfind("Error", 0), 0u) << r.message();
                }
            }
        }
    }
}

TEST(Property, LongInputsDoNotOverflowCheckSums) {
    // Sums kept as plain integers would overflow long before the text ends.
    const std::u32string nines(3'000'000, U'9');
    EXPECT_TRUE(Encode25i(nines + U"9", true).ok());
    const std::u32string percents(3'000'000, U'%');
    const EncodeResult r = Encode39(percents, true);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.fontString()[r.fontString().size() - 2], Code39CheckChar(42 * 3'000'000 % 43));
}

}  // namespace
}  // namespace sw
