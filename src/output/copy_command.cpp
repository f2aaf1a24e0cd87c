#include "output/copy_command.h"

#include <QCheckBox>
#include <QMimeData>
#include <QTextEdit>

#include "dialogs/warning_box.h"
#include "output/clipboard_content.h"
#include "platform/desktop.h"

namespace sw {

void CopyPreviewToClipboard(platform::Desktop& desktop, QTextEdit& preview) {
    preview.selectAll();
    desktop.SetClipboard(ClipboardContent(*preview.document()).release());
}

void CopyCommand(platform::Desktop& desktop, bool barCodeMade, TWarningBox& warningBox,
                 QTextEdit& preview,
                 const std::function<void(const QString&)>& showErrorInPreview) {
    if (!barCodeMade) {
        showErrorInPreview(kCopyBeforeMakeMessage);
        return;
    }
    if (!warningBox.NoWarningBox->isChecked())
        desktop.ShowModal(&warningBox);
    CopyPreviewToClipboard(desktop, preview);
}

}  // namespace sw
