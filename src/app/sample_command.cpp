#include "output/sample_page.h"

#include "app/main_window.h"
#include "platform/qt_print_surface.h"

namespace sw {

void TForm1::PrintButtonClickClick() {
    BarTextInput->setFocus();
    if (!PrintDialog1)
        PrintDialog1 = std::make_unique<platform::QtPrintDialog>();
    const SamplePageInput input{BarTextInput->text(), BarTextOut->text(),
                                SelectedType(),       OptionalChecksum->isChecked(),
                                Tall->isChecked(),    BarcodeFontFace()};
    PrintSampleCommand(
        *PrintDialog1, this, BarCodeMade, input,
        [this](const QString& message) { ShowErrorInPreview(message); },
        [this](const QString& failure) { desktop().WarningBox(this, failure, MessagePlace()); });
}

}  // namespace sw
