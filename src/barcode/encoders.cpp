#include "barcode/encoders.h"

#include "barcode/code128.h"
#include "barcode/code25.h"
#include "barcode/code25i.h"
#include "barcode/code39.h"
#include "barcode/ean13.h"
#include "barcode/gs1_128.h"
#include "barcode/imb.h"
#include "barcode/postnet.h"
#include "barcode/upca.h"

namespace sw {
namespace {

template <class Fn>
EncodeResult Collect(Fn encode) {
    std::u32string out;
    std::string message;
    U32Sink sink{out};
    if (!encode(sink, message))
        return EncodeResult::Failure(std::move(message));
    return EncodeResult::Success(std::move(out));
}

}  // namespace

EncodeResult Encode25(std::u32string_view text) {
    return Collect([&](U32Sink& s, std::string& m) { return Encode25Into(text, s, m); });
}

EncodeResult Encode25i(std::u32string_view text, bool checksum) {
    return Collect([&](U32Sink& s, std::string& m) { return Encode25iInto(text, checksum, s, m); });
}

EncodeResult Encode39(std::u32string_view text, bool checksum) {
    return Collect([&](U32Sink& s, std::string& m) { return Encode39Into(text, checksum, s, m); });
}

EncodeResult EncodePost(std::u32string_view text) {
    return Collect([&](U32Sink& s, std::string& m) { return EncodePostInto(text, s, m); });
}

EncodeResult EncodeUPC(std::u32string_view text) {
    return Collect([&](U32Sink& s, std::string& m) { return EncodeUPCInto(text, s, m); });
}

EncodeResult Encode128(std::u32string_view text) {
    return Collect([&](U32Sink& s, std::string& m) { return Encode128Into(text, s, m); });
}

EncodeResult EncodeGS1_128(std::u32string_view text) {
    return Collect([&](U32Sink& s, std::string& m) { return EncodeGS1_128Into(text, s, m); });
}

EncodeResult EncodeEAN13(std::u32string_view text) {
    return Collect([&](U32Sink& s, std::string& m) { return EncodeEAN13Into(text, s, m); });
}

EncodeResult EncodeIMb(std::u32string_view text) {
    return Collect([&](U32Sink& s, std::string& m) { return EncodeIMbInto(text, s, m); });
}

bool IsCode39Char(char32_t c) {
    return Code39ValueOf(c) >= 0;
}

int Code39Value(char32_t c) {
    return Code39ValueOf(c);
}

char32_t Code39CheckChar(int value) {
    return Code39FontChar(kCode39Chars.at(static_cast<std::size_t>(value)));
}

}  // namespace sw
