// The encoders against the worked examples and the error order of the Make command.
#include <gtest/gtest.h>

#include "barcode/encoders.h"
#include "barcode/make.h"
#include "barcode/text.h"

namespace sw {
namespace {

struct Case {
    BarCodeType type;
    const char* data;  // UTF-8
    bool checksum;
    const char* expected;  // font string (UTF-8) or error message
    bool ok;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << Info(c.type).storedText << " \"" << c.data << "\"" << (c.checksum ? " +check" : "");
}

class MakeCases : public ::testing::TestWithParam<Case> {};

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

constexpr auto k25 = BarCodeType::Type25;
constexpr auto k25i = BarCodeType::Type25i;
constexpr auto k39 = BarCodeType::Type39;
constexpr auto kPost = BarCodeType::TypePost;
constexpr auto kUpc = BarCodeType::TypeUPC;

constexpr const char* kNo25 = "Error- you can only encode digits with bar code 2 of 5";
constexpr const char* kEven = "Error- you must have an even number of digits";
constexpr const char* kOdd = "Error- you must have an odd number of digits with a checksum";
constexpr const char* kNo25i = "Error- you can only encode digits with bar code 2 of 5 interleaved";
constexpr const char* kZipLen = "Error, zip code must be 5, 9, 11, or 12 digits long";
constexpr const char* kZipDigits = "Error, you can only encode digits with PostNet bar code";
constexpr const char* kUpcLen = "Error, UPC-A codes must be 11 digits long";
constexpr const char* kUpcDigits = "Error, you can only encode digits with a UPC bar code";
constexpr const char* kEmpty = "Error- no data to bar code";

INSTANTIATE_TEST_SUITE_P(Empty, MakeCases,
                         ::testing::Values(Case{k25, "", false, kEmpty, false},
                                           Case{k25i, "", true, kEmpty, false},
                                           Case{k39, "", false, kEmpty, false},
                                           Case{kPost, "", false, kEmpty, false},
                                           Case{kUpc, "", false, kEmpty, false}));

INSTANTIATE_TEST_SUITE_P(Code25, MakeCases,
                         ::testing::Values(Case{k25, "123", false, "(123)", true},
                                           Case{k25, "0", false, "(0)", true},
                                           Case{k25, "12a", false, kNo25, false},
                                           Case{k25, "1 2", false, kNo25, false},
                                           Case{k25, "-1", false, kNo25, false},
                                           // The option does not reach this type.
                                           Case{k25, "12", true, "(12)", true}));

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

INSTANTIATE_TEST_SUITE_P(UpcA, MakeCases,
                         ::testing::Values(Case{kUpc, "03600029145", false, " P36000|BIADEb", true},
                                           Case{kUpc, "00000000000", false, " P00000|@@@@@`", true},
                                           Case{kUpc, "12345678901", false, " Q23456|GHI@Ab", true},
                                           Case{kUpc, "036000291452", false, kUpcLen, false},
                                           Case{kUpc, "0360002914", false, kUpcLen, false},
                                           Case{kUpc, "abcdefghijkl", false, kUpcLen, false},
                                           Case{kUpc, "0360002914a", false, kUpcDigits, false}));

TEST(Code39Table, ValuesAndCheckCharactersAgree) {
    const std::u32string chars = U"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    for (int v = 0; v < 43; ++v) {
        const char32_t c = chars[static_cast<std::size_t>(v)];
        EXPECT_TRUE(IsCode39Char(c));
        EXPECT_EQ(Code39Value(c), v);
        EXPECT_EQ(Code39CheckChar(v), c == U' ' ? U'~' : c);
    }
    int legal = 0;
    for (char32_t c = 0; c < 0x300; ++c) legal += IsCode39Char(c) ? 1 : 0;
    EXPECT_EQ(legal, 43);
    for (char32_t c : U"abz*~_\t\u00c4") EXPECT_FALSE(IsCode39Char(c)) << static_cast<int>(c);
}

}  // namespace
}  // namespace sw
