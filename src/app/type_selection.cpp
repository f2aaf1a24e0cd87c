// Choosing the bar code type, the checksum box, and the face that draws the selection.
#include "app/main_window.h"
#include "fonts/barcode_fonts.h"

namespace sw {

void TForm1::Select25() {
    SelectType(BarCodeType::Type25);
}
void TForm1::Select25i() {
    SelectType(BarCodeType::Type25i);
}
void TForm1::Select39() {
    SelectType(BarCodeType::Type39);
}
void TForm1::SelectPost() {
    SelectType(BarCodeType::TypePost);
}
void TForm1::SelectUPC() {
    SelectType(BarCodeType::TypeUPC);
}

void TForm1::SelectType(BarCodeType type) {
    QRadioButton* button = TypeButton(type);
    if (!button->isChecked()) {
        // Checking the button runs its handler, which comes back here with the button checked.
        button->setChecked(true);
        return;
    }
    const BarCodeTypeInfo& info = Info(type);
    if (info.takesChecksum) {
        OptionalChecksum->show();
    } else {
        OptionalChecksum->hide();
        OptionalChecksum->setChecked(false);
    }
    FontSize->setVisible(info.showsHeights);
    if (type == BarCodeType::TypeUPC) {
        Tall->hide();
        if (Tall->isChecked())
            Normal->setChecked(true);
    } else if (type != BarCodeType::TypePost) {
        Tall->show();
    }
    PointSize->setEditText(QString::number(info.pointSize));
    SetTypeDescription(QString::fromUtf8(info.description.data(),
                                         static_cast<qsizetype>(info.description.size())));
    BarTextOut->clear();
    BarCodeOut->clear();
    BarTextInput->setFocus();
    BarCodeMade = false;
}

void TForm1::OptionalChecksumClick() {
    if (BarCodeMade) {
        BarTextOut->clear();
        BarCodeOut->clear();
    }
    BarTextInput->setFocus();
}

BarCodeType TForm1::SelectedType() const {
    if (Radio25->isChecked())
        return BarCodeType::Type25;
    if (Radio25i->isChecked())
        return BarCodeType::Type25i;
    if (Radio39->isChecked())
        return BarCodeType::Type39;
    if (RadioPostNet->isChecked())
        return BarCodeType::TypePost;
    return BarCodeType::TypeUPC;
}

QString TForm1::TypeSetting() const {
    const std::string_view text = Info(SelectedType()).storedText;
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString TForm1::HeightSetting() const {
    if (Short->isChecked())
        return QStringLiteral("S");
    if (Normal->isChecked())
        return QStringLiteral("N");
    return QStringLiteral("T");
}

QString TForm1::BarcodeFontFace() const {
    const BarHeight height = Short->isChecked()    ? BarHeight::Short
                             : Normal->isChecked() ? BarHeight::Normal
                                                   : BarHeight::Tall;
    const std::string_view name = FaceName(SelectedType(), height);
    QString face = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    // The faces come with the program; each is loaded the first time the window names it, so
    // that start-up loads none of them.
    RegisterBarcodeFace(face);
    return face;
}

}  // namespace sw
