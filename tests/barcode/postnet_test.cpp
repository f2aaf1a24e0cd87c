// PostNet against its worked examples and its messages, and random codes whose digits with the
// check digit add up to a multiple of ten.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "barcode/check_digits.h"
#include "barcode/encoder_cases.h"

namespace sw {
namespace {

using test::Case;
using test::MakeCases;

constexpr auto kPost = BarCodeType::TypePost;
constexpr const char* kZipLen = "Error, zip code must be 5, 9, 11, or 12 digits long";
constexpr const char* kZipDigits = "Error, you can only encode digits with PostNet bar code";

INSTANTIATE_TEST_SUITE_P(
    PostNet, MakeCases,
    ::testing::Values(Case{kPost, "12345", false, "(123455)", true},
                      Case{kPost, "123456789", false, "(1234567895)", true},
                      Case{kPost, "00000", false, "(000000)", true},
                      Case{kPost, "12345678901", false, "(123456789014)", true},
                      Case{kPost, "123456789012", false, "(1234567890122)", true},
                      Case{kPost, "123456", false, kZipLen, false},
                      Case{kPost, "1234567", false, kZipLen, false},
                      Case{kPost, "12345678", false, kZipLen, false},
                      Case{kPost, "12345-6789", false, kZipLen, false},
                      Case{kPost, "1234567890123", false, kZipLen, false},
                      Case{kPost, "abc", false, kZipLen, false},
                      Case{kPost, "1234a", false, kZipDigits, false},
                      // Counted in characters, not bytes: five characters, one of them two bytes.
                      Case{kPost, "1234\u00e9", false, kZipDigits, false}));

TEST(Property, PostNetDigitsSumToMultipleOfTen) {
    std::mt19937 rng(5);
    const std::size_t lengths[] = {5, 9, 11, 12};
    for (int i = 0; i < test::kRounds; ++i) {
        const std::u32string data = test::RandomFrom(rng, U"0123456789", lengths[i % 4]);
        const EncodeResult r = MakeFontString(kPost, data, false);
        ASSERT_TRUE(r.ok());
        const std::u32string& s = r.fontString();
        test::ExpectFontChars(s);
        ASSERT_EQ(s.size(), data.size() + 3);
        ASSERT_EQ(s.substr(1, data.size()), data);
        int sum = 0;
        for (std::size_t k = 1; k + 1 < s.size(); ++k) sum += DigitValue(s[k]);
        ASSERT_EQ(sum % 10, 0);
    }
}

}  // namespace
}  // namespace sw
