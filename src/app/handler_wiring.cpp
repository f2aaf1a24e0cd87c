// Connects the controls' signals to the main window's handlers.
#include <QLineEdit>

#include "app/main_window.h"

namespace sw {

void TForm1::ConnectHandlers() {
    const std::pair<QRadioButton*, BarCodeType> types[] = {{Radio25, BarCodeType::Type25},
                                                           {Radio25i, BarCodeType::Type25i},
                                                           {Radio39, BarCodeType::Type39},
                                                           {RadioPostNet, BarCodeType::TypePost},
                                                           {RadioUPCA, BarCodeType::TypeUPC}};
    // A radio button's handler runs when it becomes checked, by a click or from the program.
    for (const auto& [button, type] : types) {
        connect(button, &QRadioButton::toggled, this, [this, type = type](bool checked) {
            if (checked)
                Run([&] { SelectType(type); });
        });
    }
    for (QRadioButton* height : {Short, Normal, Tall}) {
        connect(height, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                Run([&] { ShortClick(); });
        });
    }
    // A check box's handler runs whenever its state changes.
    connect(OptionalChecksum, &QCheckBox::toggled, this,
            [this] { Run([&] { OptionalChecksumClick(); }); });
    connect(TipCheckBox, &QCheckBox::toggled, this, [this] { Run([&] { TipCheckBoxClick(); }); });
    // The point size handler runs on the user's changes only: typing, or a pick from the list.
    connect(PointSize->lineEdit(), &QLineEdit::textEdited, this,
            [this] { Run([&] { PointSizeChange(); }); });
    connect(PointSize, &QComboBox::activated, this, [this] { Run([&] { PointSizeChange(); }); });
    PointSize->installEventFilter(this);
    for (QRadioButton* radio :
         {Radio25, Radio25i, Radio39, RadioPostNet, RadioUPCA, Short, Normal, Tall}) {
        radio->installEventFilter(this);
    }
    PointSize->lineEdit()->installEventFilter(this);
    BarTextInput->installEventFilter(this);

    const std::pair<QPushButton*, void (TForm1::*)()> buttons[] = {
        {MakeButtonClick, &TForm1::MakeButtonClickClick},
        {CopyButtonClick, &TForm1::CopyButtonClickClick},
        {PrintLabels, &TForm1::PrintLabelsClick},
        {PrintButtonClick, &TForm1::PrintButtonClickClick}};
    for (const auto& [button, handler] : buttons) {
        connect(button, &QPushButton::clicked, this,
                [this, handler = handler] { Run([&] { (this->*handler)(); }); });
    }
    const std::pair<QToolButton*, void (TForm1::*)()> pictureButtons[] = {
        {SpeedButton1, &TForm1::SpeedButton1Click},
        {SpeedButton3, &TForm1::SpeedButton3Click},
        {SpeedButton2, &TForm1::SpeedButton2Click}};
    for (const auto& [button, handler] : pictureButtons) {
        connect(button, &QToolButton::clicked, this,
                [this, handler = handler] { Run([&] { (this->*handler)(); }); });
    }
    StaticText3->onClick = [this] { Run([&] { StaticText3Click(); }); };
}

}  // namespace sw
