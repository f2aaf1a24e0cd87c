// The Copy command: the preview, with each character's face and size, onto the clipboard.
#pragma once

#include <QString>
#include <functional>

class QCheckBox;
class QDialog;
class QTextEdit;

namespace sw {

namespace platform {
class Desktop;
}

inline const QString kCopyBeforeMakeMessage =
    QStringLiteral("Error- Must click \"Make\" before copying to clip board");

// Selects the whole preview and replaces the clipboard's content with it, as plain text, HTML
// and RTF. No warning; the label launcher uses this as it is.
void CopyPreviewToClipboard(platform::Desktop& desktop, QTextEdit& preview);

// Copy as the Copy button does it (after the window has moved the focus): refuses before Make
// through `showErrorInPreview`, shows `warning` unless the user has ticked its `turnedOff` box,
// then copies whichever way the warning was closed.
void CopyCommand(platform::Desktop& desktop, bool barCodeMade, QDialog& warning,
                 const QCheckBox& turnedOff, QTextEdit& preview,
                 const std::function<void(const QString&)>& showErrorInPreview);

}  // namespace sw
