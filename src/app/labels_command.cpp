#include "output/label_launcher.h"

#include "app/main_window.h"
#include "dialogs/label_dialog.h"
#include "output/copy_command.h"

namespace sw {

void TForm1::PrintLabelsClick() {
    if (!BarCodeMade) {
        ShowErrorInPreview(QStringLiteral("Error, you must click \"Make\" before printing labels"));
        return;
    }
    desktop().ShowModal(Form3);
}

void TForm1::LaunchLabels() {
    LaunchLabelTemplate(desktop(), this,
                        {LabelSizeChoice(), ExplainPasteChoice(),
                         [this] { CopyPreviewToClipboard(desktop(), *BarCodeOut); },
                         [this] { BarTextInput->setFocus(); }});
}

}  // namespace sw
