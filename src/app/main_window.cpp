#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "dialogs/label_dialog.h"
#include "output/vendor.h"
#include "platform/handlers.h"
#include "platform/paths.h"
#include "widgets/pictures.h"

namespace sw {

namespace {

const QString kFormFont = QStringLiteral("MS Sans Serif");

// Places a control at its layout position. Texts take the room they need when the font of the
// desktop runs wider than the layout's, so that no caption is cut off.
template <class W>
W* Place(W* widget, int left, int top, int width, int height, bool fitText = true) {
    widget->setGeometry(left, top, width, height);
    if (fitText) {
        const int needed = widget->sizeHint().width();
        if (needed > width)
            widget->resize(needed, height);
    }
    return widget;
}

QRadioButton* Radio(QWidget* parent, std::string_view caption, std::string_view hint) {
    auto* button =
        new QRadioButton(QString::fromUtf8(caption.data(), qsizetype(caption.size())), parent);
    button->setToolTip(QString::fromUtf8(hint.data(), qsizetype(hint.size())));
    return button;
}

QPushButton* CommandButton(QWidget* parent, const QString& caption, const QString& hint,
                           const QIcon& icon) {
    auto* button = new QPushButton(icon, caption, parent);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

QToolButton* PictureButton(QWidget* parent, const QString& caption, const QIcon& icon) {
    auto* button = new QToolButton(parent);
    button->setIcon(icon);
    if (caption.isEmpty()) {
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setAutoRaise(true);
    } else {
        button->setText(caption);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    button->setFocusPolicy(Qt::NoFocus);  // picture buttons take no keyboard focus
    return button;
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

template <class Handler>
void TForm1::Run(Handler&& handler) {
    platform::RunHandler(desktop_, this, std::forward<Handler>(handler));
}

TForm1::TForm1(platform::Desktop& desktop, QWidget* parent)
    : QWidget(parent), desktop_(desktop), tooltips_(this) {
    setWindowTitle(QStringLiteral("Stripewright"));
    setWindowIcon(pictures::Program());
    setFont(LayoutFont(kFormFont, 10));
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
                                                      {StaticText3, "StaticText3"}};
    for (const auto& [widget, name] : names) widget->setObjectName(QString::fromLatin1(name));
    // Made after the controls, so that it is destroyed after them with this window.
    groupStyle_ = new CaptionInFrameStyle;
    groupStyle_->setParent(this);
    for (QGroupBox* box : {GroupBox1, FontSize, GroupBox2}) box->setStyle(groupStyle_);
    SetTabOrder();
    ConnectHandlers();
}

TForm1::~TForm1() = default;

void TForm1::BuildPanel() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    client->setGeometry(8, 8, 400, 374);

    Panel1 = new QFrame(client);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    Panel1->setAutoFillBackground(true);
    QPalette face = Panel1->palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    Panel1->setPalette(face);
    Panel1->setGeometry(0, 0, 400, 131);

    Label2 = new QLabel(
        QStringLiteral("Control the height, width, type, and options of your bar code"), Panel1);
    Label2->setFont(LayoutFont(kFormFont, 11, true));
    Place(Label2, 28, 6, 343, 13);

    GroupBox1 = new QGroupBox(QStringLiteral(" Type of bar code "), Panel1);
    GroupBox1->setToolTip(QStringLiteral("Which bar code symbology to use"));
    Place(GroupBox1, 8, 20, 384, 34, false);
    Radio25 = Radio(GroupBox1, Info(BarCodeType::Type25).caption, Info(BarCodeType::Type25).hint);
    Place(Radio25, 7, 15, 50, 14);
    Radio25i =
        Radio(GroupBox1, Info(BarCodeType::Type25i).caption, Info(BarCodeType::Type25i).hint);
    Place(Radio25i, 68, 15, 93, 14);
    Radio39 = Radio(GroupBox1, Info(BarCodeType::Type39).caption, Info(BarCodeType::Type39).hint);
    Place(Radio39, 178, 15, 42, 14);
    Radio39->setChecked(true);
    RadioPostNet =
        Radio(GroupBox1, Info(BarCodeType::TypePost).caption, Info(BarCodeType::TypePost).hint);
    Place(RadioPostNet, 235, 15, 66, 14);
    RadioUPCA =
        Radio(GroupBox1, Info(BarCodeType::TypeUPC).caption, Info(BarCodeType::TypeUPC).hint);
    Place(RadioUPCA, 315, 15, 58, 14);

    Label1 = new QLabel(Text(Info(BarCodeType::Type39).description), Panel1);
    Label1->setToolTip(QStringLiteral("Information about the currently selected bar code type"));
    Place(Label1, 8, 61, 191, 13);

    SpeedButton1 = PictureButton(Panel1, QStringLiteral("&Tips"), pictures::Tips());
    Place(SpeedButton1, 232, 56, 60, 30, false);
    SpeedButton3 = PictureButton(Panel1, QString(), pictures::About());
    SpeedButton3->setToolTip(QStringLiteral("About this program"));
    Place(SpeedButton3, 295, 56, 30, 30, false);
    SpeedButton2 = PictureButton(Panel1, QStringLiteral("&Help"), pictures::Help());
    Place(SpeedButton2, 328, 56, 60, 30, false);

    FontSize = new QGroupBox(QStringLiteral(" Size of bar code "), Panel1);
    FontSize->setToolTip(QStringLiteral("Select the font size to use"));
    Place(FontSize, 8, 86, 148, 39, false);
    Short = Radio(FontSize, "Short", "Short height to width ratio");
    Place(Short, 6, 15, 45, 17);
    Normal = Radio(FontSize, "Norm.", "Standard height to width ratio");
    Place(Normal, 54, 15, 48, 17);
    Normal->setChecked(true);
    Tall = Radio(FontSize, "Tall", "Tall height to width ratio");
    Place(Tall, 103, 15, 40, 17);

    GroupBox2 = new QGroupBox(QStringLiteral(" Point size "), Panel1);
    Place(GroupBox2, 158, 86, 73, 39, false);
    PointSize = new QComboBox(GroupBox2);
    PointSize->setEditable(true);
    PointSize->setInsertPolicy(QComboBox::NoInsert);
    PointSize->setCompleter(nullptr);  // a typed size stands as typed; the list only offers
    PointSize->addItems({"18", "20", "22", "24", "26", "28", "30", "36", "40", "48", "50", "52",
                         "54", "58", "60", "72"});
    PointSize->setCurrentIndex(3);
    Place(PointSize, 8, 13, 57, 21, false);

    TipCheckBox = new QCheckBox(QStringLiteral("Tip of the day?"), Panel1);
    TipCheckBox->setToolTip(QStringLiteral("Show Tip of the day after each start up?"));
    TipCheckBox->setChecked(true);
    Place(TipCheckBox, 235, 90, 97, 17);
    OptionalChecksum = new QCheckBox(QStringLiteral("Add Optional Checksum?"), Panel1);
    OptionalChecksum->setToolTip(
        QStringLiteral("Add in the optional checksum value as the last character"));
    Place(OptionalChecksum, 235, 108, 140, 14);
}

void TForm1::BuildDataArea() {
    QWidget* client = Panel1->parentWidget();
    const QFont labelFont = LayoutFont(kFormFont, 11, true);
    const QFont editFont = LayoutFont(kFormFont, 15);

    StaticText4 =
        new QLabel(QStringLiteral("Enter the data to be converted into a bar code:"), client);
    StaticText4->setFont(labelFont);
    Place(StaticText4, 0, 138, 273, 17);

    BarTextInput = new DataLineEdit(client);
    BarTextInput->setFont(editFont);
    BarTextInput->setToolTip(QStringLiteral("Type in the data you want to convert to a bar code"));
    Place(BarTextInput, 0, 153, 397, 23, false);

    MakeButtonClick = CommandButton(
        client, QStringLiteral("&Make"),
        QStringLiteral("Create a bar code from the data you entered above"), pictures::Make());
    Place(MakeButtonClick, 0, 181, 70, 30, false);
    CopyButtonClick = CommandButton(
        client, QStringLiteral("&Copy"),
        QStringLiteral("Copy this data string to the clip board, to paste in other programs"),
        pictures::Copy());
    Place(CopyButtonClick, 105, 181, 70, 30, false);
    PrintLabels =
        CommandButton(client, QStringLiteral("&Labels"),
                      QStringLiteral("Print sheets of bar code labels"), pictures::Labels());
    Place(PrintLabels, 211, 181, 70, 30, false);
    PrintButtonClick = CommandButton(
        client, QStringLiteral("&Sample"),
        QStringLiteral("Print a sample page of this bar code at several different point sizes"),
        pictures::Sample());
    Place(PrintButtonClick, 317, 181, 80, 30, false);

    StaticText5 = new QLabel(
        QStringLiteral("This is the string to use with %1's bar code fonts:").arg(vendor::kMaker),
        client);
    StaticText5->setFont(labelFont);
    Place(StaticText5, 0, 222, 303, 17);

    BarTextOut = new QLineEdit(client);
    BarTextOut->setFont(editFont);
    BarTextOut->setToolTip(
        QStringLiteral("Use this string with our bar code fonts to print a bar code"));
    Place(BarTextOut, 0, 237, 397, 22, false);

    StaticText6 = new QLabel(QStringLiteral("Sample bar code font:"), client);
    StaticText6->setFont(labelFont);
    Place(StaticText6, 0, 266, 129, 17);

    BarCodeOut = new PreviewEdit(client);
    BarCodeOut->setAcceptRichText(true);
    BarCodeOut->setTabChangesFocus(true);
    BarCodeOut->setFont(LayoutFont(kFormFont, 10));
    BarCodeOut->setToolTip(QStringLiteral("This is what your bar code will look like"));
    Place(BarCodeOut, 0, 282, 397, 59, false);

    StaticText3 = new LinkLabel(client);
    StaticText3->setText(vendor::kWebAddress);
    QFont linkFont = LayoutFont(kFormFont, 11);
    linkFont.setUnderline(true);
    StaticText3->setFont(linkFont);
    StaticText3->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    Place(StaticText3, 140, 352, 124, 17);
    if (StaticText3->width() > 124)
        StaticText3->move(202 - StaticText3->width() / 2, 352);
}

void TForm1::SetTabOrder() {
    const QList<QWidget*> order = {BarTextInput,    BarTextOut,      PrintButtonClick,
                                   CopyButtonClick, MakeButtonClick, BarCodeOut,
                                   Short,           Normal,          Tall,
                                   PointSize,       TipCheckBox,     OptionalChecksum,
                                   Radio25,         Radio39,         Radio25i,
                                   RadioPostNet,    RadioUPCA,       PrintLabels};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

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

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == BarTextInput && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        Run([&] { BarTextInputKeyDown(key->key(), key->modifiers()); });
        return false;  // the field handles the key as usual
    }
    if (event->type() == QEvent::FocusIn) {
        // Tab enters a group of radio buttons at its checked button.
        const auto* focus = static_cast<QFocusEvent*>(event);
        auto* radio = qobject_cast<QRadioButton*>(watched);
        if (radio && !radio->isChecked() &&
            (focus->reason() == Qt::TabFocusReason || focus->reason() == Qt::BacktabFocusReason)) {
            for (QRadioButton* sibling : radio->parentWidget()->findChildren<QRadioButton*>(
                     QString(), Qt::FindDirectChildrenOnly)) {
                if (sibling->isChecked() && sibling->isVisible()) {
                    sibling->setFocus(focus->reason());
                    break;
                }
            }
        }
    }
    if ((watched == PointSize || watched == PointSize->lineEdit()) &&
        event->type() == QEvent::FocusOut) {
        // Leaving the box for another control of this window; a dialog or the list popping up
        // over it is no leaving. The box and its edit field both see the one move.
        const auto* focus = static_cast<QFocusEvent*>(event);
        const QWidget* next = QApplication::focusWidget();
        const bool withinBox = next == PointSize || next == PointSize->lineEdit();
        if (watched == PointSize && !withinBox && focus->reason() != Qt::ActiveWindowFocusReason &&
            focus->reason() != Qt::PopupFocusReason) {
            Run([&] { ShortClick(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

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
    return pos() + QPoint(100, 100);
}

void TForm1::SetPreviewText(const QString& text) {
    // The document's own setter starts the text afresh in the field's font; the field's
    // setter would carry the character format of the last selection over to the new text.
    BarCodeOut->document()->setPlainText(text);
    BarCodeOut->ShowSelectionUnfocused(false);
}

void TForm1::SetTypeDescription(const QString& text) {
    Label1->setText(text);
    // As wide as its text needs, never narrower than its place in the layout.
    Label1->resize(std::max(191, Label1->sizeHint().width()), Label1->height());
}

}  // namespace sw
