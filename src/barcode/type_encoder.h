// How code for any type reaches a type's encoder. Each encoder's header specialises TypeEncoder
// for its type with
//
//     template <class View, class Sink>
//     static bool Into(View text, bool checksum, Sink& out, std::string& message);
//
// which writes the font string of `text` (never empty) to `out`, or sets `message` and leaves
// `out` as it was. Types without a check character option ignore `checksum`.
#pragma once

#include "barcode/catalogue.h"

namespace sw {

template <BarCodeType kType>
struct TypeEncoder;

}  // namespace sw
