// The text path of the command-line encoder: every item to one line of font string.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "encode/encoder_options.h"

namespace sw {

// Encodes the options' items, or the lines of `in` when there are none, one output line per
// item to `out`; failures go to `err` as "line N: message". Returns the exit status.
int EncodeText(const EncoderOptions& options, std::FILE* in, std::FILE* out, std::FILE* err);

// The line without the carriage return of a CRLF ending.
inline std::string_view StripCr(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// Whether `utf8` is longer than any bar code of the options' type can hold; then `message`
// says why it is refused, before any work on it. A few characters too many (a UPC-A number
// with its check digit, say) get the type's own message, which says best what it takes.
bool TooLong(const EncoderOptions& options, std::string_view utf8, std::string& message);

// The longest line worth reading whole: any longer one is too long in any UTF-8, and so is
// every line of which it is the start.
std::size_t LongestLineKept(BarCodeType type);

// `text` with each control byte shown as an escape (\0, \t, \n, \r, otherwise \xHH), for
// messages that quote the input.
std::string ShowControlBytes(std::string_view text);

}  // namespace sw
