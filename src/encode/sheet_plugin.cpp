// The sheet writer in the same module as the picture writer, loaded only for sheets of labels.
#include <string>

#include "encode/sheet_output.h"

extern "C" __attribute__((visibility("default"))) void sw_write_label_sheets(
    const sw::SheetJob* job, const char* file, sw::WriteOutcome* outcome) {
    *outcome = sw::WriteLabelSheets(*job, file);
}
