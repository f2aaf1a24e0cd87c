// What every fuzz target asserts with: a property that fails aborts, so that a wrong result is
// reported as loudly as a crash, with the input that caused it.
#pragma once

#include <cstdlib>

namespace sw::fuzz {

inline void Check(bool ok) {
    if (!ok)
        std::abort();
}

}  // namespace sw::fuzz
