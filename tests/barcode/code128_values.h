// Code 128 and GS1-128 font strings read back as their symbol values, for the worked examples.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "barcode/code128.h"

namespace sw::test {

inline std::vector<int> Code128Values(const std::u32string& fontString) {
    std::vector<int> v;
    for (char32_t c : fontString) v.push_back(code128::ValueOf(c));
    return v;
}

struct ValuesCase {
    std::string_view data;
    std::vector<int> values;  // start to stop
};

}  // namespace sw::test
