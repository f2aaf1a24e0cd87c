#include "barcode/check_digits.h"

namespace sw {

int Mod10Weighted(std::u32string_view digits) {
    return Mod10WeightedOf(digits);
}

int Mod10Plain(std::u32string_view digits) {
    int sum = 0;
    for (char32_t c : digits) sum = (sum + DigitValue(c)) % 10;
    return (10 - sum) % 10;
}

}  // namespace sw
