// GS1-128 against worked examples, and the messages for element strings it refuses.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "barcode/code128.h"
#include "barcode/code128_values.h"
#include "barcode/make.h"
#include "barcode/text.h"

namespace sw {
namespace {

using test::ValuesCase;

TEST(GS1_128, WorkedExamplesGiveTheirValueSequences) {
    const ValuesCase cases[] = {
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
        const EncodeResult r = MakeFontString(BarCodeType::TypeGS1_128, DecodeUtf8(c.data), false);
        ASSERT_TRUE(r.ok()) << c.data << ": " << r.message();
        EXPECT_EQ(test::Code128Values(r.fontString()), c.values) << c.data;
    }
}

TEST(GS1_128, SeparatorsBesideDigitsStayShortest) {
    const std::pair<const char*, std::size_t> cases[] = {
        {"(90)A1(91)1", 134},  // not StartB FNC1 9 0 A CodeC CodeB 1 FNC1 9 1 1 (156)
        {"(90)1(91)12", 112},  // StartB FNC1 9 CodeC 01 FNC1 91 12
    };
    for (const auto& [data, modules] : cases) {
        const EncodeResult r = MakeFontString(BarCodeType::TypeGS1_128, DecodeUtf8(data), false);
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
        const EncodeResult r = MakeFontString(BarCodeType::TypeGS1_128, DecodeUtf8(data), false);
        ASSERT_FALSE(r.ok()) << data;
        EXPECT_EQ(r.message(), message) << data;
    }
    // 48 characters exactly fit.
    EXPECT_TRUE(MakeFontString(BarCodeType::TypeGS1_128,
                               U"(91)1234567890123456789012345678901234567890123456", false)
                    .ok());
}

}  // namespace
}  // namespace sw
