// Keeping the preview's lettering in step with the bar height and the point size.
#include <QTextCursor>
#include <QTextDocument>

#include "app/main_window.h"
#include "app/whole_number.h"

namespace sw {

void TForm1::RefreshPreviewFont() {
    QTextDocument* document = BarCodeOut->document();
    const QString output = BarTextOut->text();
    QTextCursor selection;
    if (!output.isEmpty()) {
        selection = document->find(output, 0, QTextDocument::FindCaseSensitively);
    }
    if (selection.isNull()) {
        // The output field no longer matches the preview (the user edited one of them): the
        // preview's whole text is the last bar code, so all of it takes the new lettering.
        selection = QTextCursor(document);
        selection.select(QTextCursor::Document);
    }
    BarCodeOut->setTextCursor(selection);
    QTextCharFormat size;
    size.setFontPointSize(PreviewPointSize(PointSize->currentText()));
    selection.mergeCharFormat(size);
    QTextCharFormat face;
    face.setFontFamilies(QStringList{BarcodeFontFace()});
    selection.mergeCharFormat(face);
    BarCodeOut->setTextCursor(selection);
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
