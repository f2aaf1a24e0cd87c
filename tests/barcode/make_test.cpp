// The Make command's path for every type: the case tables of the types' test files, the
// empty-text test before any encoder, and any text giving a font string or one error.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "barcode/encoder_cases.h"

namespace sw::test {
namespace {

TEST_P(MakeCases, GiveTheExpectedResult) {
    const Case& c = GetParam();
    const EncodeResult r = MakeFontString(c.type, DecodeUtf8(c.data), c.checksum);
    ASSERT_EQ(r.ok(), c.ok) << r.message();
    if (c.ok) {
        EXPECT_EQ(EncodeUtf8(r.fontString()), c.expected);
    } else {
        EXPECT_EQ(r.message(), c.expected);
    }
}

constexpr const char* kEmpty = "Error- no data to bar code";

INSTANTIATE_TEST_SUITE_P(Empty, MakeCases,
                         ::testing::Values(Case{BarCodeType::Type25, "", false, kEmpty, false},
                                           Case{BarCodeType::Type25i, "", true, kEmpty, false},
                                           Case{BarCodeType::Type39, "", false, kEmpty, false},
                                           Case{BarCodeType::TypePost, "", false, kEmpty, false},
                                           Case{BarCodeType::TypeUPC, "", false, kEmpty, false}));

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

}  // namespace
}  // namespace sw::test
