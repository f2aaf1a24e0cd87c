// EAN-13 against worked examples, module by module, and the messages for codes it refuses.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "barcode/make.h"
#include "barcode/text.h"

namespace sw {
namespace {

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
        const EncodeResult computed = MakeFontString(BarCodeType::TypeEAN13, twelve, false);
        const EncodeResult verified =
            MakeFontString(BarCodeType::TypeEAN13, DecodeUtf8(digits), false);
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
        const EncodeResult r = MakeFontString(BarCodeType::TypeEAN13, DecodeUtf8(data), false);
        ASSERT_FALSE(r.ok()) << data;
        EXPECT_EQ(r.message(), message);
    }
}

}  // namespace
}  // namespace sw
