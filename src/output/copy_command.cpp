#include "output/copy_command.h"

#include <QCheckBox>
#include <QDialog>
#include <QMimeData>
#include <QTextEdit>

#include "output/clipboard_content.h"
#include "platform/desktop.h"

namespace sw {

void CopyPreviewToClipboard(platform::Desktop& desktop, QTextEdit& preview) {
    preview.selectAll();
    desktop.SetClipboard(ClipboardContent(*preview.document()).release());
}

void CopyCommand(platform::Desktop& desktop, bool barCodeMade, QDialog& warning,
                 const QCheckBox& turnedOff, QTextEdit& preview,
                 const std::function<void(const QString&)>& showErrorInPreview) {
    if (!barCodeMade) {
        showErrorInPreview(kCopyBeforeMakeMessage);
        return;
    }
    if (!turnedOff.isChecked())
        desktop.ShowModal(&warning);
    CopyPreviewToClipboard(desktop, preview);
}

}  // namespace sw
