// Text helpers for the encoding core: the core works on sequences of Unicode code points
// (std::u32string), so that a character outside the Basic Multilingual Plane is one character.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace sw {

// Decodes UTF-8. Each malformed byte sequence becomes one U+FFFD, so the result always holds
// exactly the characters a reader of the bytes would see.
std::u32string DecodeUtf8(std::string_view bytes);
void DecodeUtf8(std::string_view bytes, std::u32string& out);

// Whether `bytes` is well-formed UTF-8: no overlong forms, surrogates or values above
// U+10FFFF. With `complete`, the bytes may end in the start of a sequence (a piece of a longer
// text), and `complete` is set to the length of the whole sequences.
bool CheckUtf8(std::string_view bytes, std::size_t* complete = nullptr);

// Encodes code points as UTF-8. Surrogates and values above U+10FFFF become U+FFFD.
std::string EncodeUtf8(std::u32string_view text);
void AppendUtf8(char32_t cp, std::string& out);
void AppendUtf8(std::u32string_view text, std::string& out);

// True when the character is one a font string may hold: 32-126, 161-170 or 194-206.
constexpr bool IsFontChar(char32_t c) {
    return (c >= 32 && c <= 126) || (c >= 161 && c <= 170) || (c >= 194 && c <= 206);
}

// Appends a font string as Windows-1252 bytes. Font characters have the same value in
// Windows-1252 as their code point, so each becomes one byte. Returns false (and appends
// nothing) when the text holds a character outside the font range.
bool AppendCp1252(std::u32string_view fontString, std::string& out);

// The characters of the Windows-1252 bytes 0x80 to 0x9F; the other bytes equal their Latin-1
// code points. The five bytes the code page leaves undefined stand for the control characters
// of the same value, so that any byte reads and writes back as itself.
inline constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace sw
