// The picture writer as a module of its own, loaded by stripewright-encode only for pictures,
// so that turning data into text never loads Qt.
#include <string>

#include "encode/picture_output.h"

extern "C" __attribute__((visibility("default"))) void sw_write_barcode_picture(
    const sw::PictureRequest* request, const char* file, sw::WriteOutcome* outcome) {
    *outcome = sw::WriteBarcodePicture(*request, file);
}
