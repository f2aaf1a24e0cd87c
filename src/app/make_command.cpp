// The Make command and the window's one way of reporting a user error.
#include <QTextDocument>

#include "app/main_window.h"
#include "app/whole_number.h"
#include "barcode/make.h"

namespace sw {

void TForm1::MakeButtonClickClick() {
    BarTextInput->setFocus();
    const QString text = BarTextInput->text();
    if (text.isEmpty()) {
        ShowErrorInPreview(QString::fromUtf8(kNoDataMessage.data(),
                                             static_cast<qsizetype>(kNoDataMessage.size())));
        return;
    }
    const BarCodeType type = SelectedType();
    const EncodeResult result =
        MakeFontString(type, text.toStdU32String(), OptionalChecksum->isChecked());
    if (!result.ok()) {
        ShowErrorInPreview(QString::fromStdString(result.message()));
        return;
    }
    const QString fontString = QString::fromStdU32String(result.fontString());

    // The four writes. Their order shows only when the point size is not a whole number: the
    // size write then ends the command, after the output write for the 2 of 5 types and before
    // it for the others.
    const auto output = [&] { BarTextOut->setText(fontString); };
    const auto size = [&] {
        QFont font = BarCodeOut->font();
        font.setPointSize(PreviewPointSize(PointSize->currentText()));
        BarCodeOut->setFont(font);
    };
    const auto face = [&] {
        QFont font = BarCodeOut->font();
        font.setFamilies({BarcodeFontFace()});
        BarCodeOut->setFont(font);
    };
    const auto preview = [&] { SetPreviewText(fontString); };
    if (type == BarCodeType::Type25 || type == BarCodeType::Type25i) {
        output();
        size();
        face();
        preview();
    } else {
        size();
        face();
        output();
        preview();
    }
    BarCodeMade = true;
}

void TForm1::ShowErrorInPreview(const QString& message) {
    QFont font = BarCodeOut->font();
    font.setFamilies({QStringLiteral("Arial")});
    BarCodeOut->setFont(font);
    font.setPointSize(12);
    BarCodeOut->setFont(font);
    SetPreviewText(message);
    BarTextOut->clear();
    BarCodeMade = false;
    desktop().Beep();
    BarTextInput->setFocus();
}

}  // namespace sw
