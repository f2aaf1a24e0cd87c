// Bar height and point size changes: the preview's bar code follows them after a Make.
#include "app/main_window.h"
#include "app/whole_number.h"
#include "output/preview_font.h"

namespace sw {

void TForm1::RefreshPreviewFont() {
    const QTextCursor selection = SelectBarCode(*BarCodeOut, BarTextOut->text());
    const int pointSize = PreviewPointSize(PointSize->currentText());
    SetBarCodeLettering(*BarCodeOut, selection, pointSize, BarcodeFontFace());
    // The bar code stays selected, shown as the rest while the focus is elsewhere, and from
    // its start.
    BarCodeOut->ScrollToStart();
}

void TForm1::ShortClick() {
    if (BarCodeMade)
        RefreshPreviewFont();
    BarTextInput->setFocus();
}

void TForm1::PointSizeChange() {
    const QString text = PointSize->currentText();
    if (text.size() < 2 || StrToInt(text) < 18) {
        PointSize->setFocus();
        return;
    }
    if (BarCodeMade)
        RefreshPreviewFont();
    BarTextInput->setFocus();
}

}  // namespace sw
