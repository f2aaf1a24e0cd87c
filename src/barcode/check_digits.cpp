#include "barcode/check_digits.h"

namespace sw {

// The sums are kept modulo 10 as they grow, so no length of input can overflow them.
int Mod10Weighted(std::u32string_view digits) {
    int sum = 0;
    bool three = true;
    for (char32_t c : digits) {
        sum = (sum + DigitValue(c) * (three ? 3 : 1)) % 10;
        three = !three;
    }
    return (10 - sum) % 10;
}

int Mod10Plain(std::u32string_view digits) {
    int sum = 0;
    for (char32_t c : digits) sum = (sum + DigitValue(c)) % 10;
    return (10 - sum) % 10;
}

}  // namespace sw
