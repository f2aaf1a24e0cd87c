// Interleaved 2 of 5 against its worked examples and its messages, and digit pairs read back.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "barcode/check_digits.h"
#include "barcode/encoder_cases.h"

namespace sw {
namespace {

using test::Case;
using test::MakeCases;

constexpr auto k25i = BarCodeType::Type25i;
constexpr const char* kEven = "Error- you must have an even number of digits";
constexpr const char* kOdd = "Error- you must have an odd number of digits with a checksum";
constexpr const char* kNo25i = "Error- you can only encode digits with bar code 2 of 5 interleaved";

INSTANTIATE_TEST_SUITE_P(
    Interleaved25, MakeCases,
    ::testing::Values(
        Case{k25i, "1234", false, "{-C}", true}, Case{k25i, "123", true, "{-E}", true},
        Case{k25i, "1234567890", false, "{-CYo\u00a1}", true},
        Case{k25i, "99", false, "{\u00aa}", true}, Case{k25i, "00", false, "{!}", true},
        Case{k25i, "89", false, "{z}", true}, Case{k25i, "7", true, "{p}", true},
        Case{k25i, "01", false, "{\"}", true}, Case{k25i, "59", false, "{\\}", true},
        Case{k25i, "12345", false, kEven, false}, Case{k25i, "1234", true, kOdd, false},
        // The parity test comes before the digit scan.
        Case{k25i, "12a", false, kEven, false}, Case{k25i, "12a", true, kNo25i, false},
        Case{k25i, "1a", false, kNo25i, false}));

TEST(Property, Interleaved25PairsReadBack) {
    std::mt19937 rng(25);
    for (int i = 0; i < test::kRounds; ++i) {
        const bool checksum = i % 2 == 0;
        std::size_t n = test::RandomLength(rng, 40);
        if ((n % 2 == 1) != checksum)
            ++n;
        const std::u32string data = test::RandomFrom(rng, U"0123456789", n);
        const EncodeResult r = MakeFontString(k25i, data, checksum);
        ASSERT_TRUE(r.ok());
        const std::u32string& s = r.fontString();
        test::ExpectFontChars(s);
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

TEST(Property, Interleaved25LongInputDoesNotOverflowItsCheckSum) {
    // A sum kept as a plain integer would overflow long before the text ends.
    const std::u32string nines(3'000'001, U'9');
    EXPECT_TRUE(MakeFontString(k25i, nines, true).ok());
}

}  // namespace
}  // namespace sw
