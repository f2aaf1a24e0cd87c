// Code 3 of 9 against its worked examples and its messages, its character table, and random
// text read back with its check character.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "barcode/code39.h"
#include "barcode/encoder_cases.h"

namespace sw {
namespace {

using test::Case;
using test::MakeCases;

constexpr auto k39 = BarCodeType::Type39;

INSTANTIATE_TEST_SUITE_P(
    Code39, MakeCases,
    ::testing::Values(
        Case{k39, "1234ABCD", false, "*1234ABCD*", true},
        Case{k39, "1234ABCD", true, "*1234ABCDD*", true},
        Case{k39, "CODE 39", true, "*CODE~39R*", true}, Case{k39, "Z3", true, "*Z3~*", true},
        Case{k39, "0", true, "*00*", true}, Case{k39, " ", false, "*~*", true},
        Case{k39, "-.$/+%", false, "*-.$/+%*", true},
        Case{k39, "abc", false, "Error: input character \"a\" not legal in bar code 3 of 9", false},
        Case{k39, "AB*", false, "Error: input character \"*\" not legal in bar code 3 of 9", false},
        Case{k39, "~", true, "Error: input character \"~\" not legal in bar code 3 of 9", false},
        Case{k39, "A\u00e9", false,
             "Error: input character \"\u00e9\" not legal in bar code 3 of 9", false},
        // A character outside the BMP is named whole.
        Case{k39, "A\U0001F600B", false,
             "Error: input character \"\U0001F600\" not legal in bar code 3 of 9", false}));

// The value of a character, read back from the font string.
int ValueOf(char32_t fontChar) {
    return Code39ValueOf(fontChar == U'~' ? U' ' : fontChar);
}

TEST(Code39Table, ValuesAndCheckCharactersAgree) {
    const std::u32string chars = U"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    for (int v = 0; v < 43; ++v) {
        const char32_t c = chars[static_cast<std::size_t>(v)];
        EXPECT_EQ(Code39ValueOf(c), v);
        EXPECT_EQ(Code39FontChar(c), c == U' ' ? U'~' : c);
    }
    int legal = 0;
    for (char32_t c = 0; c < 0x300; ++c) legal += Code39ValueOf(c) >= 0 ? 1 : 0;
    EXPECT_EQ(legal, 43);
    for (char32_t c : U"abz*~_\t\u00c4") EXPECT_LT(Code39ValueOf(c), 0) << static_cast<int>(c);
}

TEST(Property, Code39ReadsBackWithVerifyingCheck) {
    std::mt19937 rng(39);
    const std::u32string_view alphabet = U"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    for (int i = 0; i < test::kRounds; ++i) {
        const std::u32string data = test::RandomFrom(rng, alphabet, test::RandomLength(rng, 40));
        const EncodeResult r = MakeFontString(k39, data, true);
        ASSERT_TRUE(r.ok());
        const std::u32string& s = r.fontString();
        test::ExpectFontChars(s);
        ASSERT_EQ(s.size(), data.size() + 3);
        ASSERT_EQ(s.front(), U'*');
        ASSERT_EQ(s.back(), U'*');
        int sum = 0;
        for (std::size_t k = 0; k < data.size(); ++k) {
            const char32_t c = s[k + 1] == U'~' ? U' ' : s[k + 1];
            ASSERT_EQ(c, data[k]);
            sum += ValueOf(c);
        }
        ASSERT_EQ(ValueOf(s[s.size() - 2]), sum % 43);
    }
}

TEST(Property, Code39LongInputDoesNotOverflowItsCheckSum) {
    // A sum kept as a plain integer would overflow long before the text ends.
    const std::u32string percents(3'000'000, U'%');
    const EncodeResult r = MakeFontString(k39, percents, true);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(ValueOf(r.fontString()[r.fontString().size() - 2]), 42 * 3'000'000 % 43);
}

}  // namespace
}  // namespace sw
