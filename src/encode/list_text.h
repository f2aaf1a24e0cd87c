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

// What a list file was found to be.
struct ListEncoding {
    InputEncoding encoding = InputEncoding::Utf8;
    bool byteOrderMark = false;
    bool ascii = true;  // every byte below 0x80: any ASCII-based encoding reads it alike
};

// Finds a list file's encoding from its bytes, handed over piece by piece in order: a
// byte-order mark says UTF-8 or UTF-16, bytes that are not UTF-8 are Windows-1252; or the one
// asked for.
class EncodingScan {
  public:
    explicit EncodingScan(InputEncoding asked) : asked_(asked) {}
    void Add(std::string_view bytes);
    // `complete`: all the file was handed over; else its start alone, whose last sequence may
    // be cut.
    ListEncoding Result(bool complete = true) const;
    // The bytes of the byte-order mark at the file's start.
    std::size_t MarkSize() const { return mark_; }

  private:
    InputEncoding asked_;
    InputEncoding marked_ = InputEncoding::Auto;
    bool first_ = true;
    bool utf8_ = true;
    bool ascii_ = true;
    std::size_t mark_ = 0;
    std::string tail_;  // a UTF-8 sequence cut at the end of a piece
};

// Decodes a list file's bytes (its byte-order mark left out) into UTF-8, piece by piece.
// Windows-1252 round-trips: the five bytes it leaves undefined read as the control characters
// of the same value.
class ListDecoder {
  public:
    explicit ListDecoder(InputEncoding encoding) : encoding_(encoding) {}
    // Appends the text of `bytes` to `out`, keeping a character cut at the end for the next
    // piece. False, with `error` set, for UTF-16 that holds a lone surrogate.
    bool Decode(std::string_view bytes, std::string& out, std::string& error);
    // False, with `error` set, when the input ended within a character.
    bool Finish(std::string& error) const;

  private:
    InputEncoding encoding_;
    std::string carry_;
};

// `utf8` in `encoding` (UTF-8 passes as it is), after a byte-order mark when `byteOrderMark`.
// False when a character cannot be written in Windows-1252.
bool EncodeListText(std::string_view utf8, InputEncoding encoding, bool byteOrderMark,
                    std::string& out);

// The name of an encoding, for messages.
std::string_view EncodingName(InputEncoding encoding);

}  // namespace sw
