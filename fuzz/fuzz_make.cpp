// Fuzzes the Make logic: any bytes as UTF-8 data, every type, both checksum options. Checks what
// must hold for every input, so that a wrong result fails as loudly as a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "barcode/code128.h"
#include "barcode/make.h"
#include "barcode/text.h"
#include "fuzz_check.h"

using sw::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u32string text =
        sw::DecodeUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const auto& info : sw::kBarCodeTypes) {
        for (bool checksum : {false, true}) {
            const sw::EncodeResult r = sw::MakeFontString(info.type, text, checksum);
            Check(r.ok() == r.message().empty());
            if (!r.ok()) {
                Check(r.fontString().empty() && r.message().rfind("Error", 0) == 0);
                // The message is valid UTF-8 that survives a round trip.
                Check(sw::EncodeUtf8(sw::DecodeUtf8(r.message())) == r.message());
                continue;
            }
            const std::u32string& s = r.fontString();
            Check(!text.empty() && s.size() >= 3);
            for (char32_t c : s) Check(sw::IsFontChar(c));
            const bool check = checksum && info.takesChecksum;
            switch (info.type) {
                case sw::BarCodeType::Type25:
                    Check(s.size() == text.size() + 2);
                    break;
                case sw::BarCodeType::Type25i:
                    Check(s.size() == (text.size() + (check ? 1 : 0)) / 2 + 2);
                    break;
                case sw::BarCodeType::Type39:
                    Check(s.size() == text.size() + (check ? 3 : 2));
                    Check(s.front() == U'*' && s.back() == U'*');
                    break;
                case sw::BarCodeType::TypePost:
                    Check(s.size() == text.size() + 3);
                    break;
                case sw::BarCodeType::TypeUPC:
                    Check(s.size() == 14 && s[0] == U' ');
                    break;
                case sw::BarCodeType::Type128:
                case sw::BarCodeType::TypeGS1_128:
                    Check(s.back() == sw::code128::FontChar(sw::code128::kStop));
                    Check(s.find(U' ') == std::u32string::npos);  // value 0 is never a space
                    break;
                case sw::BarCodeType::TypeEAN13:
                    Check(s.size() == 14 && s[7] == U'|');
                    break;
                case sw::BarCodeType::TypeIMb:
                    Check(s.size() == 65);
                    break;
            }
        }
    }
    return 0;
}
