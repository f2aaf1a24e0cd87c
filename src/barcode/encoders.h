// The encoders, one per type. Each takes the data text (never empty: the caller tests that first)
// and returns the font string that the type's bar code font draws, or one error message. Encoders
// keep no state: the same input always gives the same result.
#pragma once

#include <string_view>

#include "barcode/encode_result.h"

namespace sw {

// Code 2 of 5: digits only, "(" data ")".
EncodeResult Encode25(std::u32string_view text);

// Interleaved 2 of 5: an even number of digits (odd with the check digit), written in pairs.
EncodeResult Encode25i(std::u32string_view text, bool checksum);

// Code 3 of 9: the 43 characters, space written as "~", "*" data [check] "*".
EncodeResult Encode39(std::u32string_view text, bool checksum);

// PostNet: 5, 9, 11 or 12 digits and the check digit, "(" digits check ")".
EncodeResult EncodePost(std::u32string_view text);

// UPC-A: 11 digits and the check digit, in the font's half-specific character ranges.
EncodeResult EncodeUPC(std::u32string_view text);

// Code 128: ASCII text, one character per symbol value from the start to the stop.
EncodeResult Encode128(std::u32string_view text);

// GS1-128: element strings with their AIs in parentheses, as Code 128 with FNC1.
EncodeResult EncodeGS1_128(std::u32string_view text);

// EAN-13: 12 digits, or 13 with a check digit that must verify.
EncodeResult EncodeEAN13(std::u32string_view text);

// Intelligent Mail barcode: "TRACKING" or "TRACKING-ROUTING", as 65 letters F, A, D and T.
EncodeResult EncodeIMb(std::u32string_view text);

// Code 3 of 9 character table.
bool IsCode39Char(char32_t c);
int Code39Value(char32_t c);          // value 0-42 of a legal character
char32_t Code39CheckChar(int value);  // font character for a value 0-42

}  // namespace sw
