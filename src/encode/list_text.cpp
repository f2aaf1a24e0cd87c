#include "encode/list_text.h"

#include <array>

#include "barcode/text.h"
#include "encode/option_values.h"

namespace sw {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

bool IsAscii(std::string_view bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
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

void EncodingScan::Add(std::string_view bytes) {
    if (first_) {
        first_ = false;
        const bool utf16 = asked_ == InputEncoding::Auto || asked_ == InputEncoding::Utf16Le ||
                           asked_ == InputEncoding::Utf16Be;
        if (bytes.substr(0, 3) == kUtf8Mark &&
            (asked_ == InputEncoding::Auto || asked_ == InputEncoding::Utf8)) {
            marked_ = InputEncoding::Utf8;
            mark_ = 3;
        } else if (bytes.substr(0, 2) == kUtf16LeMark && utf16) {
            marked_ = InputEncoding::Utf16Le;
            mark_ = 2;
        } else if (bytes.substr(0, 2) == kUtf16BeMark && utf16) {
            marked_ = InputEncoding::Utf16Be;
            mark_ = 2;
        }
        bytes.remove_prefix(mark_);
    }
    if (ascii_ && !IsAscii(bytes))
        ascii_ = false;
    if (!utf8_ || ascii_)
        return;
    std::string joined;
    if (!tail_.empty()) {
        joined = tail_;
        joined.append(bytes);
        bytes = joined;
    }
    std::size_t complete = 0;
    if (!CheckUtf8(bytes, &complete)) {
        utf8_ = false;
        return;
    }
    tail_.assign(bytes.substr(complete));
}

ListEncoding EncodingScan::Result(bool complete) const {
    ListEncoding found;
    found.byteOrderMark = mark_ != 0;
    if (marked_ != InputEncoding::Auto)
        found.encoding = marked_;
    else if (asked_ != InputEncoding::Auto)
        found.encoding = asked_;
    else
        found.encoding =
            utf8_ && (tail_.empty() || !complete) ? InputEncoding::Utf8 : InputEncoding::Cp1252;
    found.ascii = ascii_ && found.encoding != InputEncoding::Utf16Le &&
                  found.encoding != InputEncoding::Utf16Be;
    return found;
}

bool ListDecoder::Decode(std::string_view bytes, std::string& out, std::string& error) {
    if (encoding_ == InputEncoding::Cp1252 && !IsAscii(bytes)) {
        out += FromCp1252(bytes);
        return true;
    }
    if (encoding_ != InputEncoding::Utf16Le && encoding_ != InputEncoding::Utf16Be) {
        out.append(bytes);
        return true;
    }
    std::string joined;
    if (!carry_.empty()) {
        joined = carry_ + std::string(bytes);
        bytes = joined;
    }
    const bool big = encoding_ == InputEncoding::Utf16Be;
    const auto unit = [&](std::size_t k) {
        const auto a = static_cast<unsigned char>(bytes[k]);
        const auto b = static_cast<unsigned char>(bytes[k + 1]);
        return static_cast<char32_t>(big ? (a << 8) | b : (b << 8) | a);
    };
    std::size_t k = 0;
    for (; k + 2 <= bytes.size(); k += 2) {
        char32_t c = unit(k);
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c <= 0xDBFF && k + 4 > bytes.size())
                break;  // the rest of the pair comes with the next piece
            const char32_t low = c <= 0xDBFF ? unit(k + 2) : 0;
            if (low < 0xDC00 || low > 0xDFFF) {
                error = "the UTF-16 text holds a lone surrogate";
                return false;
            }
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            k += 2;
        }
        AppendUtf8(c, out);
    }
    carry_.assign(bytes.substr(k));
    return true;
}

bool ListDecoder::Finish(std::string& error) const {
    if (carry_.empty())
        return true;
    error = carry_.size() == 1 ? "the UTF-16 text ends in half a character"
                               : "the UTF-16 text holds a lone surrogate";
    return false;
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
