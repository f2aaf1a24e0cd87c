#include <gtest/gtest.h>

#include "barcode/text.h"

namespace sw {
namespace {

TEST(Utf8, DecodesAndReplacesMalformedSequences) {
    struct Row {
        std::string bytes;
        std::u32string chars;
    };
    const Row rows[] = {
        {"", U""},
        {"abc", U"abc"},
        {"\xc2\xa1", U"\u00a1"},
        {"\xe2\x82\xac", U"\u20ac"},
        {"\xf0\x9f\x98\x80", U"\U0001F600"},
        {"\xff", U"\uFFFD"},
        {"a\x80"
         "b",
         U"a\uFFFDb"},
        {"\xc0\xaf", U"\uFFFD\uFFFD"},            // overlong
        {"\xed\xa0\x80", U"\uFFFD\uFFFD\uFFFD"},  // surrogate
        {"\xe2\x82", U"\uFFFD"},                  // truncated at the end
        {"\xe2\x82x", U"\uFFFDx"},
        {"\xf4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
    };
    for (const Row& r : rows) EXPECT_EQ(DecodeUtf8(r.bytes), r.chars) << r.bytes;
}

TEST(Utf8, RoundTripsEveryScalarValue) {
    std::u32string all;
    for (char32_t c = 1; c <= 0x10FFFF; c += (c < 0x3000 ? 1 : 97)) {
        if (c < 0xD800 || c > 0xDFFF)
            all.push_back(c);
    }
    EXPECT_EQ(DecodeUtf8(EncodeUtf8(all)), all);
}

TEST(Cp1252, WritesFontCharactersAsSingleBytes) {
    std::string out;
    EXPECT_TRUE(AppendCp1252(U"{\u00a1\u00aa}", out));
    EXPECT_EQ(out, "{\xa1\xaa}");
    EXPECT_FALSE(AppendCp1252(U"\u20ac", out));
    EXPECT_EQ(out, "{\xa1\xaa}");
}

}  // namespace
}  // namespace sw
