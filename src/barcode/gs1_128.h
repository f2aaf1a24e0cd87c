// GS1-128: Code 128 with FNC1 after the start, carrying element strings written with their
// application identifiers (AIs) in parentheses: "(01)09501101530003(17)261231(10)AB12". Each
// element string is checked against the table of every GS1 AI (gs1_ai.h): the AI exists, its
// data has the characters, length and meaning the AI prescribes, and the AIs of the symbol go
// together. An FNC1 separates an element string of no predefined length from the next one.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "barcode/code128.h"
#include "barcode/gs1_ai.h"
#include "barcode/type_encoder.h"

namespace sw {

namespace gs1 {

// The data of a symbol: ASCII codes and FNC1 as code128::kFnc1Code.
struct Data {
    std::array<unsigned char, kMaxData> codes{};
    std::size_t count = 0;  // may exceed kMaxData: only the first kMaxData are kept
    std::size_t size() const { return count; }
    unsigned operator[](std::size_t i) const { return codes[i]; }
    void Push(unsigned c) {
        if (count < kMaxData)
            codes[count] = static_cast<unsigned char>(c);
        ++count;
    }
};

// Reads the element strings of `text` into `data`; false with a message naming the AI when
// they break a rule.
template <class View>
bool Parse(View text, Data& data, std::string& message) {
    const std::size_t n = text.size();
    auto at = [&](std::size_t i) { return CodePoint(text[i]); };
    auto fail = [&](std::string_view what, std::string_view ai, std::string_view after = {}) {
        message = "Error: ";
        message += what;
        message += " (";
        message += ai;
        message += ")";
        message += after;
        return false;
    };
    if (n == 0 || at(0) != U'(') {
        message = "Error: GS1-128 data begins with an AI in parentheses, such as (01)";
        return false;
    }
    // Where each element string's data lies in `data`, for the checks over the whole symbol;
    // each takes at least three characters, so more than these never fit.
    struct Placed {
        const Ai* ai;
        std::size_t begin;
        std::size_t length;
    };
    std::array<Placed, kMaxData / 3> placed;
    std::size_t elements = 0;
    std::size_t i = 0;
    bool separatorDue = false;
    while (i < n) {
        // "(" AI ")"
        std::size_t close = i + 1;
        char aiChars[8];
        std::size_t aiLength = 0;
        for (; close < n && at(close) != U')' && at(close) != U'('; ++close, ++aiLength) {
            if (aiLength < sizeof aiChars)
                aiChars[aiLength] = at(close) > 127 ? '?' : static_cast<char>(at(close));
        }
        const std::string_view ai(aiChars, std::min(aiLength, sizeof aiChars));
        if (close >= n || at(close) != U')') {
            message = "Error: AI (" + std::string(ai.substr(0, 4)) + " is not closed with \")\"";
            return false;
        }
        bool digits = aiLength >= 2 && aiLength <= 4;
        for (char c : ai) digits &= c >= '0' && c <= '9';
        if (!digits)
            return fail("not an AI:", aiLength > ai.size() ? std::string(ai) + "..." : ai);
        const int prefix = (ai[0] - '0') * 10 + (ai[1] - '0');
        const int aiDigits = AiDigits(prefix);
        if (aiDigits == 0)
            return fail("unknown AI", ai);
        if (static_cast<int>(ai.size()) != aiDigits) {
            return fail("AI", ai,
                        " must have " + std::to_string(aiDigits) + " digits (AIs beginning " +
                            std::string(ai.substr(0, 2)) + " have " + std::to_string(aiDigits) +
                            ")");
        }
        const Ai* entry = FindAi(ai);
        if (entry == nullptr)
            return fail("unknown AI", ai);
        // The data, up to the next "(" or the end; its characters are checked with the rest.
        const std::size_t begin = close + 1;
        std::size_t end = begin;
        std::array<char, kMaxElementData> chars;
        for (; end < n && at(end) != U'('; ++end) {
            const char32_t c = at(end);
            if (c > 127) {
                message = "Error: character \"";
                AppendUtf8(c, message);
                message += "\" not allowed in the data of AI (";
                message += ai;
                message += ")";
                return false;
            }
            if (end - begin < chars.size())
                chars[end - begin] = static_cast<char>(c);
        }
        const std::size_t length = end - begin;
        const std::string_view value(chars.data(), std::min(length, chars.size()));
        if (!CheckElement(*entry, value, length, message))
            return false;
        // Into the symbol's data: a separator when one is due, the AI and the data.
        if (separatorDue)
            data.Push(code128::kFnc1Code);
        auto append = [&](std::string_view s) {
            if (data.count < kMaxData) {
                std::copy_n(s.begin(), std::min(s.size(), kMaxData - data.count),
                            data.codes.begin() + static_cast<std::ptrdiff_t>(data.count));
            }
            data.count += s.size();
        };
        append(ai);
        if (elements < placed.size())
            placed[elements++] = {entry, data.count, length};
        append(value);
        separatorDue = entry->separator;
        i = end;
    }
    if (data.count > kMaxData) {
        message =
            "Error: a GS1-128 symbol holds at most 48 characters (AI digits, data and "
            "separators), not " +
            std::to_string(data.count);
        return false;
    }
    std::array<Element, kMaxData / 3> list;
    for (std::size_t k = 0; k < elements; ++k) {
        list[k] = {placed[k].ai, std::string_view(reinterpret_cast<const char*>(data.codes.data()) +
                                                      placed[k].begin,
                                                  placed[k].length)};
    }
    return CheckAssociations(std::span<const Element>(list.data(), elements), message);
}

}  // namespace gs1

template <class View, class Sink>
bool EncodeGS1_128Into(View text, Sink& out, std::string& message) {
    gs1::Data data;
    if (!gs1::Parse(text, data, message))
        return false;
    code128::WriteSymbol(data, true, out);
    return true;
}

template <>
struct TypeEncoder<BarCodeType::TypeGS1_128> {
    template <class View, class Sink>
    static bool Into(View text, bool /*checksum*/, Sink& out, std::string& message) {
        return EncodeGS1_128Into(text, out, message);
    }
};

}  // namespace sw
