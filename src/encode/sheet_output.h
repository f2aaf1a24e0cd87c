// Sheets of labels drawn and written: a PDF document drawn by the program itself, or the sheet's
// RTF template filled with the font strings in the bar code face.
#pragma once

#include <string>

#include "encode/sheet_options.h"

namespace sw {

// Sizes every label's bar code, refuses when one does not fit (nothing is written then), and
// writes the document in full or not at all. Starts an offscreen QGuiApplication when none
// runs. A job that carries a CSV writes that instead.
WriteOutcome WriteLabelSheets(const SheetJob& job, const std::string& file);

}  // namespace sw
