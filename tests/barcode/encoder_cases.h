// What the encoder tests of every type share: a table of data and the font string or message it
// must give (instantiated by each type's test file), and random data for the properties.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <string_view>

#include "barcode/make.h"
#include "barcode/text.h"

namespace sw::test {

struct Case {
    BarCodeType type;
    const char* data;  // UTF-8
    bool checksum;
    const char* expected;  // font string (UTF-8) or error message
    bool ok;
};

inline void PrintTo(const Case& c, std::ostream* os) {
    *os << Info(c.type).storedText << " \"" << c.data << "\"" << (c.checksum ? " +check" : "");
}

// Each case through the Make command's path; defined in make_test.cpp.
class MakeCases : public ::testing::TestWithParam<Case> {};

inline constexpr int kRounds = 3000;

inline std::u32string RandomFrom(std::mt19937& rng, std::u32string_view alphabet, std::size_t n) {
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::u32string s;
    for (std::size_t i = 0; i < n; ++i) s += alphabet[pick(rng)];
    return s;
}

inline std::size_t RandomLength(std::mt19937& rng, std::size_t max) {
    return std::uniform_int_distribution<std::size_t>(1, max)(rng);
}

inline void ExpectFontChars(const std::u32string& s) {
    for (char32_t c : s) ASSERT_TRUE(IsFontChar(c)) << static_cast<unsigned>(c);
}

}  // namespace sw::test
