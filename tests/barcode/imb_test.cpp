// The Intelligent Mail barcode against the Postal Service's examples, bar by bar, and the
// messages for codes it refuses.
#include <gtest/gtest.h>

#include <utility>

#include "barcode/make.h"
#include "barcode/text.h"

namespace sw {
namespace {

TEST(IMb, UspsExamplesGiveTheirBarsOneByOne) {
    const std::pair<const char*, const char*> cases[] = {
        {"01234567094987654321",
         "ATTFATTDTTADTAATTDTDTATTDAFDDFADFDFTFFFFFTATFAAAATDFFTDAADFTFDTDT"},
        {"01234567094987654321-01234",
         "DTTAFADDTTFTDTFTFDTDDADADAFADFATDDFTAAAFDTTADFAAATDFDTDFADDDTDFFT"},
        {"01234567094987654321-012345678",
         "ADFTTAFDTTTTFATTADTAAATFTFTATDAAAFDDADATATDTDTTDFDTDATADADTDFFTFA"},
        {"01234567094987654321-01234567891",
         "AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA"},
        {"00050010203123456789-012345678",
         "FTTATTTTTDFAADTATAFTFTTTAAAAFTTDDDTFTDDAFTADDFDTDAFTDATTDFADDDDDA"},
        {"0027098765432100000112345678901",
         "AFDDFDADTTFFAATFADTFAATAAADTTDTDFAFAFDFDFADDAATTTADAFDDFTATFTTFAA"},
    };
    for (const auto& [data, bars] : cases) {
        const EncodeResult r = MakeFontString(BarCodeType::TypeIMb, DecodeUtf8(data), false);
        ASSERT_TRUE(r.ok()) << data << ": " << r.message();
        EXPECT_EQ(EncodeUtf8(r.fontString()), bars) << data;
    }
}

TEST(IMb, RefusesMalformedCodes) {
    const std::pair<const char*, const char*> cases[] = {
        {"0123456709498765432", "Error, the tracking code must be 20 digits long"},
        {"01234-567094987654321", "Error, the tracking code must be 20 digits long"},
        {"01234567094987654321-1234", "Error, the routing code must be 5, 9 or 11 digits long"},
        {"01234567094987654321-123456789012",
         "Error, the routing code must be 5, 9 or 11 digits long"},
        {"05234567094987654321",
         "Error, the second digit of the barcode identifier must be 0 to 4"},
        {"01234567094987654321-1234-5",
         "Error, the Intelligent Mail barcode takes digits only: the tracking code, then \"-\" "
         "and the routing code"},
    };
    for (const auto& [data, message] : cases) {
        const EncodeResult r = MakeFontString(BarCodeType::TypeIMb, DecodeUtf8(data), false);
        ASSERT_FALSE(r.ok()) << data;
        EXPECT_EQ(r.message(), message) << data;
    }
}

}  // namespace
}  // namespace sw
