// The bytes of a list file as text: UTF-8, UTF-16 with its byte-order mark, or Windows-1252,
// read into UTF-8 and written back in the file's own encoding. Standard C++ only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sw {

enum class InputEncoding { Auto, Utf8, Utf16Le, Utf16Be, Cp1252 };

// A --input-encoding value: utf-8, utf-16le, utf-16be, utf-16 (its byte-order mark, or
// little-endian without one) or cp1252 (any case); nothing for anything else.
std::optional<InputEncoding> InputEncodingFromName(std::string_view name);

struct ListText {
    std::string utf8;                              // without a byte-order mark
    InputEncoding encoding = InputEncoding::Utf8;  // what the file was read as
    bool byteOrderMark = false;
    bool ascii = true;  // every byte below 0x80: any ASCII-based encoding reads it alike
};

// Reads `bytes` as `asked`, or finds the encoding: a byte-order mark says UTF-8 or UTF-16,
// bytes that are not UTF-8 are Windows-1252. Nothing, with `error` set, for UTF-16 that is cut
// short or holds a lone surrogate. Windows-1252 round-trips: the five bytes it leaves undefined
// read as the control characters of the same value.
std::optional<ListText> DecodeListText(std::string&& bytes, InputEncoding asked,
                                       std::string& error);

// `utf8` in `encoding` (UTF-8 passes as it is), after a byte-order mark when `byteOrderMark`.
// False when a character cannot be written in Windows-1252.
bool EncodeListText(std::string_view utf8, InputEncoding encoding, bool byteOrderMark,
                    std::string& out);

// The name of an encoding, for messages.
std::string_view EncodingName(InputEncoding encoding);

}  // namespace sw
