// Code 2 of 5 against its worked examples and its messages.
#include <gtest/gtest.h>

#include "barcode/encoder_cases.h"

namespace sw {
namespace {

using test::Case;
using test::MakeCases;

constexpr auto k25 = BarCodeType::Type25;
constexpr const char* kNo25 = "Error- you can only encode digits with bar code 2 of 5";

INSTANTIATE_TEST_SUITE_P(Code25, MakeCases,
                         ::testing::Values(Case{k25, "123", false, "(123)", true},
                                           Case{k25, "0", false, "(0)", true},
                                           Case{k25, "12a", false, kNo25, false},
                                           Case{k25, "1 2", false, kNo25, false},
                                           Case{k25, "-1", false, kNo25, false},
                                           // The option does not reach this type.
                                           Case{k25, "12", true, "(12)", true}));

}  // namespace
}  // namespace sw
