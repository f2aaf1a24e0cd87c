// The sample page: the current bar code at several point sizes, with the data, the face name
// and the font string beside it, drawn as lines of text on a print surface.
#pragma once

#include <QString>
#include <functional>

#include "barcode/catalogue.h"
#include "platform/print_surface.h"

class QWidget;

namespace sw {

inline const QString kPrintBeforeMakeMessage =
    QStringLiteral("Error, you must click \"Make\" before printing");

// What the page shows, read from the window when the command runs.
struct SamplePageInput {
    QString data;    // the data field as it stands
    QString output;  // the output field: the font string of the last Make (may be empty)
    BarCodeType type = BarCodeType::Type39;
    bool checksum = false;  // the optional checksum box is ticked
    bool tall = false;      // the Tall bar height is selected
    QString face;           // the bar code face for the selected type and height
};

// Page units in device pixels, from the printer's resolution.
struct PageUnits {
    int tenth;   // a tenth of an inch across
    int height;  // the height of a 12-point font
    int pitch;   // the distance between two line positions

    int labelColumn() const { return 5 * tenth; }
    int sampleColumn() const { return 15 * tenth; }
    int lineTop(int line) const { return line * pitch; }
};

PageUnits UnitsForResolution(int dpiX, int dpiY);

// Draws the page: title, document start, the header and text block, the sample rows,
// document end. Returns an empty text on success, else what went wrong.
QString PrintSamplePage(platform::PrintSurface& surface, const SamplePageInput& input);

// The whole Sample command after the focus move: refuses before Make (through
// `showErrorInPreview`), shows the print dialog, prints. A failure of the printer is reported
// with `reportFailure`; a cancelled dialog does nothing.
void PrintSampleCommand(platform::PrintDialog& printDialog, QWidget* owner, bool barCodeMade,
                        const SamplePageInput& input,
                        const std::function<void(const QString&)>& showErrorInPreview,
                        const std::function<void(const QString&)>& reportFailure);

}  // namespace sw
