#include "barcode/text.h"

namespace sw {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Length of the sequence a lead byte opens, 0 for a byte that cannot open one.
int SequenceLength(unsigned char b) {
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        return 2;
    if (b >= 0xE0 && b <= 0xEF)
        return 3;
    if (b >= 0xF0 && b <= 0xF4)
        return 4;
    return 0;
}

}  // namespace

void DecodeUtf8(std::string_view bytes, std::u32string& out) {
    out.clear();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        const int len = SequenceLength(b);
        if (len == 0) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        char32_t cp = b & (0xFF >> (len + 1));
        int got = 1;
        for (; got < len && i + got < n; ++got) {
            const unsigned char c = p[i + got];
            // The second byte's range is narrower for some lead bytes: it rules out overlong
            // forms, surrogates and values above U+10FFFF.
            unsigned char lo = 0x80, hi = 0xBF;
            if (got == 1) {
                if (b == 0xE0)
                    lo = 0xA0;
                if (b == 0xED)
                    hi = 0x9F;
                if (b == 0xF0)
                    lo = 0x90;
                if (b == 0xF4)
                    hi = 0x8F;
            }
            if (c < lo || c > hi)
                break;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (got == len) {
            out.push_back(cp);
            i += len;
        } else {
            // A truncated or broken sequence counts as one character, and decoding resumes at
            // the byte that broke it.
            out.push_back(kReplacement);
            i += got;
        }
    }
}

bool CheckUtf8(std::string_view bytes, std::size_t* complete) {
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
        unsigned char lo = 0x80, hi = 0xBF;  // the range of the second byte
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
        for (std::size_t k = 1; k <= more && i + k < n; ++k) {
            const unsigned char c = at(i + k);
            if (k == 1 ? c < lo || c > hi : (c & 0xC0) != 0x80)
                return false;
        }
        if (i + more >= n) {
            if (complete == nullptr)
                return false;  // a sequence cut short
            break;
        }
        i += more + 1;
    }
    if (complete != nullptr)
        *complete = i;
    return true;
}

std::u32string DecodeUtf8(std::string_view bytes) {
    std::u32string out;
    DecodeUtf8(bytes, out);
    return out;
}

void AppendUtf8(char32_t cp, std::string& out) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        cp = kReplacement;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void AppendUtf8(std::u32string_view text, std::string& out) {
    for (char32_t c : text) AppendUtf8(c, out);
}

std::string EncodeUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendUtf8(text, out);
    return out;
}

bool AppendCp1252(std::u32string_view fontString, std::string& out) {
    for (char32_t c : fontString) {
        if (!IsFontChar(c))
            return false;
    }
    for (char32_t c : fontString) out.push_back(static_cast<char>(static_cast<unsigned char>(c)));
    return true;
}

}  // namespace sw
