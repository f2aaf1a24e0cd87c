#include "app/main_window.h"

#include <QCloseEvent>

#include "app/layout.h"
#include "dialogs/enter_key.h"
#include "dialogs/label_dialog.h"
#include "platform/paths.h"
#include "platform/window_place.h"
#include "widgets/pictures.h"

namespace sw {

TForm1::TForm1(platform::Desktop& desktop, QWidget* parent)
    : QWidget(parent), desktop_(desktop), tooltips_(this) {
    setWindowTitle(QStringLiteral("Stripewright"));
    setWindowIcon(pictures::Program());
    setFont(LayoutFont(layout::kFormFont, 10));
    BuildPanel();
    BuildDataArea();
    // The client area of 400 x 374 inside an 8-pixel border.
    setFixedSize(416, 390);
    const std::pair<QWidget*, const char*> names[] = {{Panel1, "Panel1"},
                                                      {Label2, "Label2"},
                                                      {GroupBox1, "GroupBox1"},
                                                      {Radio25, "Radio25"},
                                                      {Radio25i, "Radio25i"},
                                                      {Radio39, "Radio39"},
                                                      {RadioPostNet, "RadioPostNet"},
                                                      {RadioUPCA, "RadioUPCA"},
                                                      {Label1, "Label1"},
                                                      {SpeedButton1, "SpeedButton1"},
                                                      {SpeedButton3, "SpeedButton3"},
                                                      {SpeedButton2, "SpeedButton2"},
                                                      {FontSize, "FontSize"},
                                                      {Short, "Short"},
                                                      {Normal, "Normal"},
                                                      {Tall, "Tall"},
                                                      {GroupBox2, "GroupBox2"},
                                                      {PointSize, "PointSize"},
                                                      {TipCheckBox, "TipCheckBox"},
                                                      {OptionalChecksum, "OptionalChecksum"},
                                                      {StaticText4, "StaticText4"},
                                                      {BarTextInput, "BarTextInput"},
                                                      {MakeButtonClick, "MakeButtonClick"},
                                                      {CopyButtonClick, "CopyButtonClick"},
                                                      {PrintLabels, "PrintLabels"},
                                                      {PrintButtonClick, "PrintButtonClick"},
                                                      {StaticText5, "StaticText5"},
                                                      {BarTextOut, "BarTextOut"},
                                                      {StaticText6, "StaticText6"},
                                                      {BarCodeOut, "BarCodeOut"},
                                                      {PreviewScale, "PreviewScale"},
                                                      {StaticText3, "StaticText3"}};
    for (const auto& [widget, name] : names) widget->setObjectName(QString::fromLatin1(name));
    // Made after the controls, so that it is destroyed after them with this window.
    groupStyle_ = new CaptionInFrameStyle;
    groupStyle_->setParent(this);
    for (QGroupBox* box : {GroupBox1, FontSize, GroupBox2}) box->setStyle(groupStyle_);
    SetTabOrder();
    ConnectHandlers();
    new EnterPressesFocusedButton(this);
}

TForm1::~TForm1() = default;

void TForm1::closeEvent(QCloseEvent* event) {
    Run([&] { FormClose(); });
    event->accept();
}

QRadioButton* TForm1::TypeButton(BarCodeType type) const {
    switch (type) {
        case BarCodeType::Type25:
            return Radio25;
        case BarCodeType::Type25i:
            return Radio25i;
        case BarCodeType::Type39:
            return Radio39;
        case BarCodeType::TypePost:
            return RadioPostNet;
        case BarCodeType::TypeUPC:
        case BarCodeType::Type128:  // not offered by the window
        case BarCodeType::TypeGS1_128:
        case BarCodeType::TypeEAN13:
        case BarCodeType::TypeIMb:
            break;
    }
    return RadioUPCA;
}

QString TForm1::ProgramFolder() const {
    return platform::ProgramFolderPath(desktop_.DocumentsFolder());
}

QString TForm1::SettingsPath() const {
    return platform::SettingsFilePath(desktop_.DocumentsFolder(), desktop_.ExecutableFileName());
}

void TForm1::SetLabelChoices(int labelSize, bool explainPaste) {
    labelSize_ = labelSize >= 1 && labelSize <= 8 ? labelSize : 9;
    explainPaste_ = explainPaste;
    if (Form3.IsMade()) {
        Form3->SetLabelSize(labelSize_);
        Form3->ExplainPaste->setChecked(explainPaste_);
    }
}

int TForm1::LabelSizeChoice() const {
    return Form3.IsMade() ? Form3->LabelSize() : labelSize_;
}

bool TForm1::ExplainPasteChoice() const {
    return Form3.IsMade() ? Form3->ExplainPaste->isChecked() : explainPaste_;
}

QPoint TForm1::MessagePlace() const {
    return platform::FramePosition(this) + QPoint(100, 100);
}

void TForm1::SetPreviewText(const QString& text) {
    // The document's own setter starts the text afresh in the field's font; the field's
    // setter would carry the character format of the last selection over to the new text.
    BarCodeOut->document()->setPlainText(text);
    BarCodeOut->ScrollToStart();
}

void TForm1::SetTypeDescription(const QString& text) {
    Label1->setText(text);
    // As wide as its text needs, never narrower than its place in the layout.
    Label1->resize(std::max(191, Label1->sizeHint().width()), Label1->height());
}

}  // namespace sw
