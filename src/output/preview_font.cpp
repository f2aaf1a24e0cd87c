#include "output/preview_font.h"

#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextEdit>

namespace sw {

QTextCursor SelectBarCode(QTextEdit& preview, const QString& barCode) {
    QTextDocument* document = preview.document();
    QTextCursor selection;
    if (!barCode.isEmpty())
        selection = document->find(barCode, 0, QTextDocument::FindCaseSensitively);
    if (selection.isNull()) {
        selection = QTextCursor(document);
        selection.select(QTextCursor::Document);
    }
    preview.setTextCursor(selection);
    return selection;
}

void SetBarCodeLettering(QTextEdit& preview, QTextCursor selection, int pointSize,
                         const QString& face) {
    QTextCharFormat size;
    size.setFontPointSize(pointSize);
    selection.mergeCharFormat(size);
    QTextCharFormat family;
    family.setFontFamilies(QStringList{face});
    selection.mergeCharFormat(family);
    preview.setTextCursor(selection);
}

}  // namespace sw
