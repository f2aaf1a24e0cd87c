// GS1-128: Code 128 with FNC1 after the start, carrying element strings written with their
// application identifiers (AIs) in parentheses: "(01)09501101530003(17)261231(10)AB12". Each
// AI is checked against the GS1 rules the symbol depends on: the length of the AI, the length
// of the element strings whose length is predefined, the data of the best-known AIs, the check
// digit of (00), (01), (02) and (410)-(417). An FNC1 separates an element string of no
// predefined length from the next one.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "barcode/code128.h"
#include "barcode/type_encoder.h"

namespace sw {

namespace gs1 {

// At most 48 data characters: AI digits, data and separators.
inline constexpr std::size_t kMaxData = 48;

constexpr int Prefix(char a, char b) {
    return (a - '0') * 10 + (b - '0');
}

// Digits of the AIs that begin with the two digits `p`; 0 when no AI begins with them.
constexpr int AiDigits(int p) {
    if (p <= 4 || (p >= 10 && p <= 22) || p == 30 || p == 37 || p >= 90)
        return 2;
    if ((p >= 23 && p <= 25) || (p >= 40 && p <= 42))
        return 3;
    if ((p >= 31 && p <= 36) || p == 39 || p == 43 || (p >= 70 && p <= 72) || (p >= 80 && p <= 82))
        return 4;
    return 0;
}

// Length of the element string (AI and data) for the prefixes whose length is predefined, 0
// for the others. These element strings are numeric and need no separator.
constexpr int PredefinedLength(int p) {
    if (p == 0)
        return 20;
    if (p <= 3)
        return 16;
    if (p == 4)
        return 18;
    if (p >= 11 && p <= 19)
        return 8;
    if (p == 20)
        return 4;
    if (p >= 31 && p <= 36)
        return 10;
    if (p == 41)
        return 16;
    return 0;
}
static_assert(PredefinedLength(0) == 20 && PredefinedLength(1) == 16 && PredefinedLength(3) == 16);
static_assert(PredefinedLength(10) == 0 && PredefinedLength(41) == 16);

// Data rules of the common AIs of no predefined length. An AI listed with a prefix of fewer
// digits than it has stands for every AI that begins so.
struct AiRule {
    std::string_view ai;
    std::uint8_t minData;
    std::uint8_t maxData;
    bool numeric;
};
inline constexpr std::array<AiRule, 28> kAiRules{{
    {"10", 1, 20, false},   {"21", 1, 20, false},   {"22", 1, 20, false},   {"240", 1, 30, false},
    {"241", 1, 30, false},  {"242", 1, 6, true},    {"250", 1, 30, false},  {"251", 1, 30, false},
    {"254", 1, 20, false},  {"30", 1, 8, true},     {"37", 1, 8, true},     {"390", 1, 15, true},
    {"391", 4, 18, true},   {"392", 1, 15, true},   {"393", 4, 18, true},   {"394", 4, 4, true},
    {"400", 1, 30, false},  {"401", 1, 30, false},  {"402", 17, 17, true},  {"403", 1, 30, false},
    {"420", 1, 20, false},  {"421", 4, 12, false},  {"7001", 13, 13, true}, {"7003", 10, 10, true},
    {"8001", 14, 14, true}, {"8006", 18, 18, true}, {"8111", 4, 4, true},   {"90", 1, 30, false},
}};
static_assert(kAiRules.size() == 28);

constexpr AiRule RuleFor(std::string_view ai) {
    for (const AiRule& r : kAiRules) {
        if (ai.substr(0, r.ai.size()) == r.ai)
            return r;
    }
    if (ai == "422" || ai == "424" || ai == "426")
        return {ai, 3, 3, true};
    if (ai == "8017" || ai == "8018")
        return {ai, 18, 18, true};
    return {ai, 1, 90, false};  // company internal (91-99) and the rest
}

// The GS1 character set for data: printable ASCII but the space and # $ @ [ \ ] ^ ` { | } ~.
constexpr std::array<bool, 128> MakeDataChars() {
    std::array<bool, 128> t{};
    for (std::size_t c = 33; c < 127; ++c) t[c] = true;
    for (char c : std::string_view("#$@[\\]^`{|}~")) t[static_cast<std::size_t>(c)] = false;
    return t;
}
inline constexpr std::array<bool, 128> kDataChars = MakeDataChars();
static_assert(kDataChars['A'] && kDataChars['!'] && !kDataChars['#'] && !kDataChars[' ']);

constexpr bool IsDataChar(char32_t c) {
    return c < 128 && kDataChars[c];
}

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
    std::size_t i = 0;
    bool separatorDue = false;
    while (i < n) {
        // "(" AI ")"
        std::size_t close = i + 1;
        char aiChars[5];
        std::size_t aiLength = 0;
        while (close < n && at(close) != U')' && aiLength < 5) {
            aiChars[aiLength++] = at(close) > 127 ? '?' : static_cast<char>(at(close));
            ++close;
        }
        const std::string_view ai(aiChars, aiLength);
        if (close >= n || at(close) != U')') {
            message = "Error: AI (" + std::string(ai.substr(0, 4)) + " is not closed with \")\"";
            return false;
        }
        bool digits = ai.size() >= 2;
        for (char c : ai) digits &= c >= '0' && c <= '9';
        if (!digits)
            return fail("not an AI:", ai);
        const int p = Prefix(ai[0], ai[1]);
        const int aiDigits = AiDigits(p);
        if (aiDigits == 0)
            return fail("unknown AI", ai);
        if (static_cast<int>(ai.size()) != aiDigits) {
            return fail("AI", ai,
                        " must have " + std::to_string(aiDigits) + " digits (AIs beginning " +
                            std::string(ai.substr(0, 2)) + " have " + std::to_string(aiDigits) +
                            ")");
        }
        const int predefined = PredefinedLength(p);
        const AiRule rule = predefined
                                ? AiRule{ai, static_cast<std::uint8_t>(predefined - aiDigits),
                                         static_cast<std::uint8_t>(predefined - aiDigits), true}
                                : RuleFor(ai);
        if (separatorDue)
            data.Push(code128::kFnc1Code);
        for (char c : ai) data.Push(static_cast<unsigned char>(c));
        // The data, up to the next "(" or the end, checked and kept in one pass; digit sums by
        // position for the check digit.
        const std::size_t begin = close + 1;
        std::size_t end = begin;
        int sums[2] = {0, 0};
        for (; end < n && at(end) != U'('; ++end) {
            const char32_t c = at(end);
            if (!IsDataChar(c)) {
                message = "Error: character \"";
                AppendUtf8(c, message);
                message += "\" not allowed in the data of AI (";
                message += ai;
                message += ")";
                return false;
            }
            if (rule.numeric) {
                if (!(c >= U'0' && c <= U'9'))
                    return fail("only digits may follow AI", ai);
                sums[(end - begin) % 2] += static_cast<int>(c - U'0');
            }
            data.Push(c);
        }
        const std::size_t length = end - begin;
        if (length == 0)
            return fail("no data after AI", ai);
        if (length < rule.minData || length > rule.maxData) {
            std::string count = std::to_string(rule.maxData);
            if (rule.minData != rule.maxData)
                count = "at most " + count;
            return fail("AI", ai,
                        " takes " + count + (rule.numeric ? " digits" : " characters") + ", not " +
                            std::to_string(length));
        }
        if (p <= 2 || p == 41) {
            // Weights 3, 1, 3, ... from the digit before the check digit leftwards.
            const int last = static_cast<int>(at(end - 1) - U'0');
            const std::size_t lastParity = (length - 1) % 2;
            sums[lastParity] -= last;
            const std::size_t three = (length - 2) % 2;
            const int sum = 3 * sums[three] + sums[1 - three];
            const int check = (10 - sum % 10) % 10;
            if (last != check) {
                return fail("wrong check digit in AI", ai,
                            ": it should be " + std::to_string(check));
            }
        }
        separatorDue = predefined == 0;
        i = end;
    }
    if (data.count > kMaxData) {
        message =
            "Error: a GS1-128 symbol holds at most 48 characters (AI digits, data and "
            "separators), not " +
            std::to_string(data.count);
        return false;
    }
    return true;
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
