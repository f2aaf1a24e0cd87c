// The C interface over the encoding core: checks the arguments, looks the type up and copies the
// core's font string or message into the caller's buffer. Every rule of every bar code is the
// core's; nothing here keeps state.
#include "capi/stripewright.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "barcode/catalogue.h"
#include "barcode/font_sink.h"
#include "barcode/make.h"
#include "barcode/text.h"

namespace {

using sw::BarCodeType;
using sw::BarHeight;

// The names handed out as C strings point into the catalogue's string literals, whose NUL
// follows the last character.
constexpr bool EndsInNul(std::string_view s) {
    return s.data()[s.size()] == '\0';
}
constexpr bool CatalogueEndsInNuls() {
    for (const auto& info : sw::kBarCodeTypes) {
        if (!EndsInNul(info.storedText) || !EndsInNul(info.caption))
            return false;
    }
    for (std::string_view face : sw::kFaceNames) {
        if (!EndsInNul(face))
            return false;
    }
    return true;
}
static_assert(CatalogueEndsInNuls());

// The library's version is the program's.
constexpr std::string_view kVersion = sw::kProgramVersion;
static_assert(EndsInNul(kVersion));

constexpr bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::optional<BarHeight> HeightFromName(std::string_view name) {
    if (EqualsAsciiNoCase(name, "short"))
        return BarHeight::Short;
    if (EqualsAsciiNoCase(name, "normal"))
        return BarHeight::Normal;
    if (EqualsAsciiNoCase(name, "tall"))
        return BarHeight::Tall;
    return std::nullopt;
}

bool IsAscii(std::string_view bytes) {
    unsigned char high = 0;
    for (char c : bytes) high |= static_cast<unsigned char>(c);
    return high < 0x80;
}

// Writes the font string as UTF-8 into the caller's buffer as far as it reaches and counts every
// byte, so that a buffer too small still tells the size needed.
struct BufferSink {
    char* out;
    std::size_t room;  // bytes that may be written, the NUL's place excluded
    std::size_t n = 0;

    std::size_t size() const { return n; }
    void Reserve(std::size_t) {}
    void Put(char32_t c) {
        if (c < 0x80) {
            Byte(static_cast<char>(c));
        } else if (c < 0x800) {
            Byte(static_cast<char>(0xC0 | (c >> 6)));
            Byte(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            std::string utf8;
            sw::AppendUtf8(c, utf8);
            for (char b : utf8) Byte(b);
        }
    }
    void Byte(char b) {
        if (n < room)
            out[n] = b;
        ++n;
    }
    template <class View, class Map = sw::Identity>
    void PutAll(View v, Map map = {}) {
        for (auto c : v) Put(map(sw::CodePoint(c)));
    }
    void Truncate(std::size_t size) { n = size; }
};

// Encodes an item into the sink; on failure `message` says why.
stripewright_status Encode(const char* typeName, const char* data, bool checksum, BufferSink& sink,
                           std::string& message) {
    if (typeName == nullptr || data == nullptr) {
        message = typeName == nullptr ? "no bar code type given" : "no data given";
        return STRIPEWRIGHT_INVALID_ARGUMENT;
    }
    const std::string_view name(typeName);
    if (!sw::CheckUtf8(name)) {
        message = "the bar code type is not UTF-8 text";
        return STRIPEWRIGHT_INVALID_ARGUMENT;
    }
    const std::optional<BarCodeType> type = sw::TypeFromName(name);
    if (!type) {
        message = "unknown bar code type \"" + std::string(name) + "\"";
        return STRIPEWRIGHT_UNKNOWN_TYPE;
    }
    const std::string_view bytes(data);
    bool ok = false;
    if (IsAscii(bytes)) {
        ok = sw::MakeInto(*type, bytes, checksum, sink, message);
    } else if (sw::CheckUtf8(bytes)) {
        // Lengths count characters and messages name whole characters.
        const std::u32string text = sw::DecodeUtf8(bytes);
        ok = sw::MakeInto(*type, std::u32string_view(text), checksum, sink, message);
    } else {
        message = "the data is not UTF-8 text";
        return STRIPEWRIGHT_INVALID_ARGUMENT;
    }
    return ok ? STRIPEWRIGHT_OK : STRIPEWRIGHT_BAD_DATA;
}

char* CopyToNew(std::string_view text) {
    auto* p = static_cast<char*>(std::malloc(text.size() + 1));
    if (p != nullptr) {
        std::memcpy(p, text.data(), text.size());
        p[text.size()] = '\0';
    }
    return p;
}

}  // namespace

extern "C" {

const char* stripewright_version(void) {
    return kVersion.data();
}

size_t stripewright_type_count(void) {
    return sw::kBarCodeTypes.size();
}

const char* stripewright_type_name(size_t index) {
    return index < sw::kBarCodeTypes.size() ? sw::kBarCodeTypes[index].storedText.data() : nullptr;
}

const char* stripewright_type_caption(size_t index) {
    return index < sw::kBarCodeTypes.size() ? sw::kBarCodeTypes[index].caption.data() : nullptr;
}

int stripewright_type_takes_checksum(const char* type) {
    if (type == nullptr)
        return -1;
    const std::optional<BarCodeType> t = sw::TypeFromName(type);
    if (!t)
        return -1;
    return sw::Info(*t).takesChecksum ? 1 : 0;
}

const char* stripewright_face_name(const char* type, const char* height) {
    if (type == nullptr || height == nullptr)
        return nullptr;
    const std::optional<BarCodeType> t = sw::TypeFromName(type);
    const std::optional<BarHeight> h = HeightFromName(height);
    if (!t || !h)
        return nullptr;
    // The same name from the list of faces, whose entries are known to end in a NUL.
    const std::string_view face = sw::FaceName(*t, *h);
    for (std::string_view known : sw::kFaceNames) {
        if (known == face)
            return known.data();
    }
    return nullptr;
}

stripewright_status stripewright_encode(const char* type, const char* data, int checksum, char* out,
                                        size_t out_size, size_t* length) {
    if (out == nullptr && out_size != 0) {
        if (length != nullptr)
            *length = 0;
        return STRIPEWRIGHT_INVALID_ARGUMENT;
    }
    try {
        BufferSink sink{out, out_size == 0 ? 0 : out_size - 1};
        std::string message;
        stripewright_status status = Encode(type, data, checksum != 0, sink, message);
        std::size_t size = sink.n;
        if (status != STRIPEWRIGHT_OK) {
            size = message.size();
            if (size < out_size)
                std::memcpy(out, message.data(), size);
        }
        if (length != nullptr)
            *length = size;
        if (size < out_size) {
            out[size] = '\0';
            return status;
        }
        if (out_size != 0)
            out[0] = '\0';
        const bool tooSmall = status == STRIPEWRIGHT_OK || status == STRIPEWRIGHT_BAD_DATA;
        return tooSmall ? STRIPEWRIGHT_BUFFER_TOO_SMALL : status;
    } catch (...) {
        // Only allocation can fail in here.
        if (out_size != 0)
            out[0] = '\0';
        if (length != nullptr)
            *length = 0;
        return STRIPEWRIGHT_NO_MEMORY;
    }
}

stripewright_status stripewright_encode_alloc(const char* type, const char* data, int checksum,
                                              char** result) {
    if (result == nullptr)
        return STRIPEWRIGHT_INVALID_ARGUMENT;
    *result = nullptr;
    try {
        // Most font strings fit here; a longer one is encoded again into a buffer of its size.
        char local[512];
        BufferSink sink{local, sizeof local};
        std::string message;
        const stripewright_status status = Encode(type, data, checksum != 0, sink, message);
        if (status != STRIPEWRIGHT_OK) {
            *result = CopyToNew(message);
            return *result != nullptr ? status : STRIPEWRIGHT_NO_MEMORY;
        }
        if (sink.n <= sizeof local) {
            *result = CopyToNew(std::string_view(local, sink.n));
            return *result != nullptr ? status : STRIPEWRIGHT_NO_MEMORY;
        }
        std::unique_ptr<char, decltype(&std::free)> whole(
            static_cast<char*>(std::malloc(sink.n + 1)), &std::free);
        if (whole == nullptr)
            return STRIPEWRIGHT_NO_MEMORY;
        BufferSink again{whole.get(), sink.n};
        Encode(type, data, checksum != 0, again, message);
        whole.get()[std::min(again.n, sink.n)] = '\0';
        *result = whole.release();
        return STRIPEWRIGHT_OK;
    } catch (...) {
        // Only allocation can fail in here.
        return STRIPEWRIGHT_NO_MEMORY;
    }
}

void stripewright_free(void* p) {
    std::free(p);
}

}  // extern "C"
