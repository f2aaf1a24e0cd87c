#include "output/copy_command.h"

#include "app/main_window.h"
#include "dialogs/warning_box.h"

namespace sw {

void TForm1::CopyButtonClickClick() {
    BarTextInput->setFocus();
    CopyCommand(desktop(), BarCodeMade, *WarningBox, *WarningBox->NoWarningBox, *BarCodeOut,
                [this](const QString& message) { ShowErrorInPreview(message); });
}

}  // namespace sw
