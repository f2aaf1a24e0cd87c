#include "encode/list_text.h"

#include <array>

#include "barcode/text.h"
#include "encode/option_values.h"

namespace sw {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// Windows-1252 for bytes 0x80 to 0x9F; the other bytes equal their Latin-1 code points.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsAscii(std::string_view bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// Whether `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsUtf8(std::string_view bytes) {
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    while (i < n) {
        const unsigned char b = at(i);
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t more = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            more = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            more = 2;
            lo = b == 0xE0 ? 0xA0 : 0x80;
            hi = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            more = 3;
            lo = b == 0xF0 ? 0x90 : 0x80;
            hi = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + more >= n)
            return false;
        if (at(i + 1) < lo || at(i + 1) > hi)
            return false;
        for (std::size_t k = 2; k <= more; ++k) {
            if ((at(i + k) & 0xC0) != 0x80)
                return false;
        }
        i += more + 1;
    }
    return true;
}

std::optional<std::string> FromUtf16(std::string_view bytes, bool bigEndian, std::string& error) {
    if (bytes.size() % 2 != 0) {
        error = "the UTF-16 text ends in half a character";
        return std::nullopt;
    }
    const auto unit = [&](std::size_t k) {
        const auto a = static_cast<unsigned char>(bytes[k]);
        const auto b = static_cast<unsigned char>(bytes[k + 1]);
        return static_cast<char32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    std::string out;
    out.reserve(bytes.size() / 2 + bytes.size() / 8);
    for (std::size_t k = 0; k < bytes.size(); k += 2) {
        char32_t c = unit(k);
        if (c >= 0xD800 && c <= 0xDFFF) {
            const char32_t low = k + 2 < bytes.size() ? unit(k + 2) : 0;
            if (c > 0xDBFF || low < 0xDC00 || low > 0xDFFF) {
                error = "the UTF-16 text holds a lone surrogate at byte " + std::to_string(k);
                return std::nullopt;
            }
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            k += 2;
        }
        AppendUtf8(c, out);
    }
    return out;
}

std::string FromCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        AppendUtf8(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char32_t{b}, out);
    }
    return out;
}

}  // namespace

std::optional<InputEncoding> InputEncodingFromName(std::string_view name) {
    const std::string v = LowerAscii(name);
    if (v == "utf-8" || v == "utf8")
        return InputEncoding::Utf8;
    if (v == "utf-16le" || v == "utf16le" || v == "utf-16" || v == "utf16")
        return InputEncoding::Utf16Le;
    if (v == "utf-16be" || v == "utf16be")
        return InputEncoding::Utf16Be;
    if (v == "cp1252" || v == "windows-1252")
        return InputEncoding::Cp1252;
    return std::nullopt;
}

std::optional<ListText> DecodeListText(std::string&& bytes, InputEncoding asked,
                                       std::string& error) {
    const std::string_view view(bytes);
    ListText text;
    InputEncoding encoding = asked;
    std::size_t mark = 0;
    if (view.substr(0, 3) == kUtf8Mark &&
        (asked == InputEncoding::Auto || asked == InputEncoding::Utf8)) {
        encoding = InputEncoding::Utf8;
        mark = 3;
    } else if (view.substr(0, 2) == kUtf16LeMark &&
               (asked == InputEncoding::Auto || asked == InputEncoding::Utf16Le ||
                asked == InputEncoding::Utf16Be)) {
        encoding = InputEncoding::Utf16Le;
        mark = 2;
    } else if (view.substr(0, 2) == kUtf16BeMark &&
               (asked == InputEncoding::Auto || asked == InputEncoding::Utf16Le ||
                asked == InputEncoding::Utf16Be)) {
        encoding = InputEncoding::Utf16Be;
        mark = 2;
    }
    text.byteOrderMark = mark != 0;
    const std::string_view body = view.substr(mark);
    if (encoding == InputEncoding::Auto)
        encoding = IsUtf8(body) ? InputEncoding::Utf8 : InputEncoding::Cp1252;
    text.encoding = encoding;
    if (encoding == InputEncoding::Utf16Le || encoding == InputEncoding::Utf16Be) {
        std::optional<std::string> utf8 =
            FromUtf16(body, encoding == InputEncoding::Utf16Be, error);
        if (!utf8)
            return std::nullopt;
        text.utf8 = std::move(*utf8);
        text.ascii = false;
        return text;
    }
    text.ascii = IsAscii(body);
    if (encoding == InputEncoding::Cp1252 && !text.ascii) {
        text.utf8 = FromCp1252(body);
    } else {
        bytes.erase(0, mark);
        text.utf8 = std::move(bytes);
    }
    return text;
}

bool EncodeListText(std::string_view utf8, InputEncoding encoding, bool byteOrderMark,
                    std::string& out) {
    switch (encoding) {
        case InputEncoding::Auto:
        case InputEncoding::Utf8:
            if (byteOrderMark)
                out += kUtf8Mark;
            out += utf8;
            return true;
        case InputEncoding::Cp1252:
            for (char32_t c : DecodeUtf8(utf8)) {
                if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
                    out += static_cast<char>(static_cast<unsigned char>(c));
                    continue;
                }
                std::size_t k = 0;
                while (k < kCp1252High.size() && kCp1252High[k] != c) ++k;
                if (k == kCp1252High.size())
                    return false;
                out += static_cast<char>(0x80 + k);
            }
            return true;
        case InputEncoding::Utf16Le:
        case InputEncoding::Utf16Be: {
            const bool big = encoding == InputEncoding::Utf16Be;
            const auto put = [&](char32_t u) {
                const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
                out += big ? hi : lo;
                out += big ? lo : hi;
            };
            if (byteOrderMark)
                put(0xFEFF);
            for (char32_t c : DecodeUtf8(utf8)) {
                if (c >= 0x10000) {
                    put(0xD800 + ((c - 0x10000) >> 10));
                    put(0xDC00 + ((c - 0x10000) & 0x3FF));
                } else {
                    put(c);
                }
            }
            return true;
        }
    }
    return false;
}

std::string_view EncodingName(InputEncoding encoding) {
    switch (encoding) {
        case InputEncoding::Auto:
        case InputEncoding::Utf8:
            return "UTF-8";
        case InputEncoding::Utf16Le:
            return "UTF-16LE";
        case InputEncoding::Utf16Be:
            return "UTF-16BE";
        case InputEncoding::Cp1252:
            return "Windows-1252";
    }
    return "UTF-8";
}

}  // namespace sw
