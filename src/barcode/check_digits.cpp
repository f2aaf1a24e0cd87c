#include "barcode/check_digits.h"

namespace sw {

int Mod10Weighted(std::u32string_view digits) {
    return Mod10WeightedOf(digits);
}

}  // namespace sw
