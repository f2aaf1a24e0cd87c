// The picture writer as a module of its own, loaded by stripewright-encode only for --png, so
// that turning data into text never loads Qt.
#include <string>

#include "encode/png_output.h"

extern "C" __attribute__((visibility("default"))) void sw_write_barcode_png(
    const sw::PngRequest* request, const char* file, std::string* error) {
    *error = sw::WriteBarcodePng(*request, file);
}
