// Code 128, GS1-128, EAN-13 and the Intelligent Mail barcode against the standards' worked
// examples, and the messages for data they refuse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "barcode/code128.h"
#include "barcode/encoders.h"
#include "barcode/text.h"

namespace sw {
namespace {

std::vector<int> Values(const std::u32string& fontString) {
    std::vector<int> v;
    for (char32_t c : fontString) v.push_back(code128::ValueOf(c));
    return v;
}

struct Code128Case {
    std::string_view data;
    std::vector<int> values;  // start to stop
};

TEST(Code128, WorkedExamplesGiveTheirValueSequences) {
    const Code128Case cases[] = {
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
        const EncodeResult r = Encode128(DecodeUtf8(c.data));
        ASSERT_TRUE(r.ok()) << c.data << ": " << r.message();
        EXPECT_EQ(Values(r.fontString()), c.values) << c.data;
    }
}

TEST(Code128, FontStringHoldsNoSpaceOrControlCode) {
    const EncodeResult r = Encode128(U"a b\x1f~\x7f");
    ASSERT_TRUE(r.ok());
    for (char32_t c : r.fontString()) {
        EXPECT_TRUE(IsFontChar(c) && c != U' ') << static_cast<unsigned>(c);
    }
    const EncodeResult bad = Encode128(U"caf\u00e9");
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.message(),
              "Error: input character \"\u00e9\" not legal in bar code 128 (ASCII only)");
}

TEST(GS1_128, WorkedExamplesGiveTheirValueSequences) {
    const Code128Case cases[] = {
        {"(01)09501101530003", {105, 102, 1, 9, 50, 11, 1, 53, 0, 3, 71, 106}},
        {"(00)106141411234567897", {105, 102, 0, 10, 61, 41, 41, 12, 34, 56, 78, 97, 34, 106}},
        {"(01)09501101530003(17)140704(10)AB-123",
         {105, 102, 1,  9,   50, 11, 1,  53, 0,  3,  17, 14,
          7,   4,   10, 100, 33, 34, 13, 17, 18, 19, 61, 106}},
        // The standard's example (10)ABC123(21)4567 with AIs that need no (01) beside them.
        {"(90)ABC123(91)4567",
         {104, 102, 25, 16, 33, 34, 35, 17, 99, 23, 102, 91, 45, 67, 10, 106}},
        {"(01)09501101530003(10)12345678(11)240101",
         {105, 102, 1, 9, 50, 11, 1, 53, 0, 3, 10, 12, 34, 56, 78, 102, 11, 24, 1, 1, 47, 106}},
        {"(01)09501101530003(3103)000189(10)LOT42",
         {105, 102, 1,  9,  50,  11, 1,  53, 0,  3,  31, 3,
          0,   1,   89, 10, 100, 44, 47, 52, 20, 18, 88, 106}},
        // An odd run before a separator: the lone digit leaves set C once and for all.
        {"(90)3194015(91)319406666",
         {105, 102, 90, 31, 94, 1, 100, 21, 102, 25, 99, 13, 19, 40, 66, 66, 58, 106}},
    };
    for (const auto& c : cases) {
        const EncodeResult r = EncodeGS1_128(DecodeUtf8(c.data));
        ASSERT_TRUE(r.ok()) << c.data << ": " << r.message();
        EXPECT_EQ(Values(r.fontString()), c.values) << c.data;
    }
}

TEST(GS1_128, SeparatorsBesideDigitsStayShortest) {
    const std::pair<const char*, std::size_t> cases[] = {
        {"(90)A1(91)1", 134},  // not StartB FNC1 9 0 A CodeC CodeB 1 FNC1 9 1 1 (156)
        {"(90)1(91)12", 112},  // StartB FNC1 9 CodeC 01 FNC1 91 12
    };
    for (const auto& [data, modules] : cases) {
        const EncodeResult r = EncodeGS1_128(DecodeUtf8(data));
        ASSERT_TRUE(r.ok()) << data << ": " << r.message();
        // 11 modules a character, 13 for the stop.
        EXPECT_EQ(11 * r.fontString().size() + 2, modules) << data;
    }
}

TEST(GS1_128, RefusesBrokenElementStringsNamingTheAI) {
    const std::pair<const char*, const char*> cases[] = {
        {"01)09501101530003", "Error: GS1-128 data begins with an AI in parentheses, such as (01)"},
        {"(01)09501101530004", "Error: wrong check digit in AI (01): it should be 3"},
        {"(00)106141411234567890", "Error: wrong check digit in AI (00): it should be 7"},
        {"(01)0950110153000", "Error: AI (01) takes 14 digits, not 13"},
        {"(17)2612310", "Error: AI (17) takes 6 digits, not 7"},
        {"(17)26123A", "Error: only digits may follow AI (17)"},
        {"(310)000189", "Error: AI (310) must have 4 digits (AIs beginning 31 have 4)"},
        {"(05)1234", "Error: unknown AI (05)"},
        {"(10)", "Error: no data after AI (10)"},
        {"(10)A B", "Error: character \" \" not allowed in the data of AI (10)"},
        {"(10)123456789012345678901", "Error: AI (10) takes at most 20 characters, not 21"},
        {"(01", "Error: AI (01 is not closed with \")\""},
        {"(91)12345678901234567890123456789012345678901234567",
         "Error: a GS1-128 symbol holds at most 48 characters (AI digits, data and separators), "
         "not 49"},
    };
    for (const auto& [data, message] : cases) {
        const EncodeResult r = EncodeGS1_128(DecodeUtf8(data));
        ASSERT_FALSE(r.ok()) << data;
        EXPECT_EQ(r.message(), message) << data;
    }
    // 48 characters exactly fit.
    EXPECT_TRUE(EncodeGS1_128(U"(91)1234567890123456789012345678901234567890123456").ok());
}

// The 95 modules the EAN-13 font string draws, from the digit patterns.
std::string Ean13Modules(const std::u32string& s) {
    const char* left[] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                          "0110001", "0101111", "0111011", "0110111", "0001011"};
    auto right = [&](int d) {
        std::string r = left[d];
        for (char& m : r) m = m == '0' ? '1' : '0';
        return r;
    };
    std::string m = "101";
    for (std::size_t i = 1; i < 7; ++i) {
        if (s[i] >= U'p') {
            const std::string r = right(static_cast<int>(s[i] - U'p'));
            m += std::string(r.rbegin(), r.rend());
        } else {
            m += left[s[i] - U'0'];
        }
    }
    m += "01010";
    for (std::size_t i = 8; i < 13; ++i) m += right(static_cast<int>(s[i] - U'@'));
    return m + right(static_cast<int>(s[13] - U'`')) + "101";
}

TEST(EAN13, WorkedExamplesGiveTheirCheckDigitsAndModules) {
    const std::pair<const char*, const char*> cases[] = {
        {"5901234123457",
         "10100010110100111011001100100110111101001110101010110011011011001000010101110010011101"
         "000100101"},
        {"4006381333931",
         "10100011010100111010111101111010001001011001101010100001010000101000010111010010000101"
         "100110101"},
        {"9780201379624",
         "10101110110001001010011100100110100111001100101010100001010001001110100101000011011001"
         "011100101"},
        {"0012345678905",
         "10100011010011001001001101111010100011011000101010101000010001001001000111010011100101"
         "001110101"},
    };
    for (const auto& [digits, modules] : cases) {
        const std::u32string twelve = DecodeUtf8(std::string(digits, 12));
        const EncodeResult computed = EncodeEAN13(twelve);
        const EncodeResult verified = EncodeEAN13(DecodeUtf8(digits));
        ASSERT_TRUE(computed.ok() && verified.ok()) << digits;
        EXPECT_EQ(computed.fontString(), verified.fontString());
        const std::u32string& s = computed.fontString();
        ASSERT_EQ(s.size(), 14u);
        EXPECT_EQ(s[0], U'P' + static_cast<char32_t>(digits[0] - '0')) << digits;
        EXPECT_EQ(s[13], U'`' + static_cast<char32_t>(digits[12] - '0')) << digits;
        EXPECT_EQ(Ean13Modules(s), modules) << digits;
    }
}

TEST(EAN13, RefusesWrongCheckDigitsAndLengths) {
    const std::pair<const char*, const char*> cases[] = {
        {"5901234123458", "Error, the EAN-13 check digit is 8 but should be 7"},
        {"59012341234", "Error, EAN-13 codes must be 12 digits (13 with the check digit)"},
        {"59012341234570", "Error, EAN-13 codes must be 12 digits (13 with the check digit)"},
        {"59012341234A", "Error, you can only encode digits with an EAN-13 bar code"},
    };
    for (const auto& [data, message] : cases) {
        const EncodeResult r = EncodeEAN13(DecodeUtf8(data));
        ASSERT_FALSE(r.ok()) << data;
        EXPECT_EQ(r.message(), message);
    }
}

TEST(IMb, UspsExamplesGiveTheirBarsOneByOne) {
    const std::pair<const char*, const char*> cases[] = {
        {"01234567094987654321",
         "ATTFATTDTTADTAATTDTDTATTDAFDDFADFDFTFFFFFTATFAAAATDFFTDAADFTFDTDT"},
        {"01234567094987654321-01234",
         "DTTAFADDTTFTDTFTFDTDDADADAFADFATDDFTAAAFDTTADFAAATDFDTDFADDDTDFFT"},
        {"01234567094987654321-012345678",
         "ADFTTAFDTTTTFATTADTAAATFTFTATDAAAFDDADATATDTDTTDFDTDATADADTDFFTFA"},
        {"01234567094987654321-01234567891",
         "AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA"},
        {"00050010203123456789-012345678",
         "FTTATTTTTDFAADTATAFTFTTTAAAAFTTDDDTFTDDAFTADDFDTDAFTDATTDFADDDDDA"},
        {"0027098765432100000112345678901",
         "AFDDFDADTTFFAATFADTFAATAAADTTDTDFAFAFDFDFADDAATTTADAFDDFTATFTTFAA"},
    };
    for (const auto& [data, bars] : cases) {
        const EncodeResult r = EncodeIMb(DecodeUtf8(data));
        ASSERT_TRUE(r.ok()) << data << ": " << r.message();
        EXPECT_EQ(EncodeUtf8(r.fontString()), bars) << data;
    }
}

TEST(IMb, RefusesMalformedCodes) {
    const std::pair<const char*, const char*> cases[] = {
        {"0123456709498765432", "Error, the tracking code must be 20 digits long"},
        {"01234-567094987654321", "Error, the tracking code must be 20 digits long"},
        {"01234567094987654321-1234", "Error, the routing code must be 5, 9 or 11 digits long"},
        {"01234567094987654321-123456789012",
         "Error, the routing code must be 5, 9 or 11 digits long"},
        {"05234567094987654321",
         "Error, the second digit of the barcode identifier must be 0 to 4"},
        {"01234567094987654321-1234-5",
         "Error, the Intelligent Mail barcode takes digits only: the tracking code, then \"-\" "
         "and the routing code"},
    };
    for (const auto& [data, message] : cases) {
        const EncodeResult r = EncodeIMb(DecodeUtf8(data));
        ASSERT_FALSE(r.ok()) << data;
        EXPECT_EQ(r.message(), message) << data;
    }
}

}  // namespace
}  // namespace sw
