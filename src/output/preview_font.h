// Restyling the bar code inside the preview: a new face and size on its characters only, the
// rest of the preview and its base font left as they are.
#pragma once

#include <QTextCursor>

class QString;
class QTextEdit;

namespace sw {

// Selects the first occurrence of `barCode` in the preview (case-sensitive, from the start) and
// returns that selection. When it does not occur, or is empty, the whole preview is selected:
// the preview still shows the last bar code, only the output field was edited.
QTextCursor SelectBarCode(QTextEdit& preview, const QString& barCode);

// Sets `pointSize` and then `face` on the characters of `selection`, which stays the preview's
// selection.
void SetBarCodeLettering(QTextEdit& preview, QTextCursor selection, int pointSize,
                         const QString& face);

}  // namespace sw
