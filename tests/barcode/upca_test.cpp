// UPC-A against its worked examples and its messages, and random codes read back from the font's
// character ranges with a check digit that verifies.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "barcode/check_digits.h"
#include "barcode/encoder_cases.h"

namespace sw {
namespace {

using test::Case;
using test::MakeCases;

constexpr auto kUpc = BarCodeType::TypeUPC;
constexpr const char* kUpcLen = "Error, UPC-A codes must be 11 digits long";
constexpr const char* kUpcDigits = "Error, you can only encode digits with a UPC bar code";

INSTANTIATE_TEST_SUITE_P(UpcA, MakeCases,
                         ::testing::Values(Case{kUpc, "03600029145", false, " P36000|BIADEb", true},
                                           Case{kUpc, "00000000000", false, " P00000|@@@@@`", true},
                                           Case{kUpc, "12345678901", false, " Q23456|GHI@Ab", true},
                                           Case{kUpc, "036000291452", false, kUpcLen, false},
                                           Case{kUpc, "0360002914", false, kUpcLen, false},
                                           Case{kUpc, "abcdefghijkl", false, kUpcLen, false},
                                           Case{kUpc, "0360002914a", false, kUpcDigits, false}));

TEST(Property, UpcReadsBackWithVerifyingCheck) {
    std::mt19937 rng(12);
    for (int i = 0; i < test::kRounds; ++i) {
        const std::u32string data = test::RandomFrom(rng, U"0123456789", 11);
        const EncodeResult r = MakeFontString(kUpc, data, false);
        ASSERT_TRUE(r.ok());
        const std::u32string& s = r.fontString();
        test::ExpectFontChars(s);
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

}  // namespace
}  // namespace sw
