// The one place where the scan test reaches the bar code fonts: registers them with the font
// system the same way the program does at start.
#include "fonts/barcode_fonts.h"

namespace sw {

bool RegisterBarcodeFontsForTest() {
    return RegisterBarcodeFonts();
}

}  // namespace sw
