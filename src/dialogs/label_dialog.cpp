#include "dialogs/label_dialog.h"

#include "dialogs/enter_key.h"
#include "output/label_sheets.h"
#include "platform/handlers.h"
#include "widgets/widgets.h"

namespace sw {

namespace {

constexpr int kFirstRowTop = 48;  // in the dialog
constexpr int kRowPitch = 24;
constexpr int kGroupLeft = 8;
constexpr int kGroupTop = 26;
constexpr int kSheetsColumn = 124;  // in the dialog
constexpr int kNumberColumn = 210;

}  // namespace

TForm3::TForm3(platform::Desktop& desktop, QWidget* mainWindow, QWidget* dataField)
    : PlacedDialog(mainWindow, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      desktop_(desktop),
      mainWindow_(mainWindow),
      dataField_(dataField) {
    setWindowTitle(QStringLiteral("Label Printing"));
    setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 11));
    setFixedSize(293, 341);

    Label1 = new QLabel(QStringLiteral("What size label do you want to print?"), this);
    Label1->setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 13, true));
    Label1->setGeometry(8, 4, 277, 20);

    GroupBox1 = new QGroupBox(QStringLiteral("Label Size "), this);
    GroupBox1->setGeometry(kGroupLeft, kGroupTop, 277, 9 * kRowPitch + 30);
    SheetsHeading = new QLabel(QStringLiteral("Labels / Sheet "), GroupBox1);
    SheetsHeading->setGeometry(kSheetsColumn - kGroupLeft, 2, 82, 16);
    NumberHeading = new QLabel(QStringLiteral("Label Number "), GroupBox1);
    NumberHeading->setGeometry(kNumberColumn - kGroupLeft, 2, 64, 16);
    for (QLabel* heading : {SheetsHeading, NumberHeading}) {
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        heading->resize(std::max(heading->width(), heading->sizeHint().width()), 16);
    }

    std::array<QRadioButton**, 9> fields{&L1, &L2, &L3, &L4, &L5, &L6, &L7, &L8, &L9};
    static_assert(kLabelChoices.size() == 9);
    const auto text = [](std::string_view s) {
        return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
    };
    for (std::size_t i = 0; i < kLabelChoices.size(); ++i) {
        const LabelChoice& choice = kLabelChoices[i];
        const int top = kFirstRowTop + static_cast<int>(i) * kRowPitch - kGroupTop;
        auto* button = new QRadioButton(text(choice.size), GroupBox1);
        button->setGeometry(8, top, kSheetsColumn - kGroupLeft - 14, 20);
        *fields[i] = button;
        auto* perSheet = new QLabel(text(choice.perSheet), GroupBox1);
        perSheet->setGeometry(kSheetsColumn - kGroupLeft, top, 82, 20);
        auto* number = new QLabel(text(choice.stockNumber), GroupBox1);
        number->setGeometry(kNumberColumn - kGroupLeft, top, 60, 20);
    }
    L4->setChecked(true);

    ExplainPaste =
        new QCheckBox(QStringLiteral("Explain how to paste a bar code on to a label"), this);
    ExplainPaste->setToolTip(QStringLiteral(
        "Pop up a window explaining how to paste your bar code into your word processor"));
    ExplainPaste->setChecked(true);
    ExplainPaste->setGeometry(14, kGroupTop + GroupBox1->height() + 6, 271, 20);

    ExitLabels = new QPushButton(QStringLiteral("&Return"), this);
    ExitLabels->setToolTip(
        QStringLiteral("Don't open the label template- return back to the utility"));
    ExitLabels->setGeometry(8, 306, 90, 27);
    PrintLabels = new QPushButton(QStringLiteral("&Print Labels"), this);
    PrintLabels->setToolTip(
        QStringLiteral("Open the selected label template in your word processor"));
    PrintLabels->setGeometry(185, 306, 100, 27);
    ExitLabels->setAutoDefault(false);
    PrintLabels->setAutoDefault(false);

    new EnterPressesFocusedButton(this);
    connect(ExitLabels, &QPushButton::clicked, this,
            [this] { platform::RunHandler(desktop_, this, [this] { ExitLabelsClick(); }); });
    connect(PrintLabels, &QPushButton::clicked, this,
            [this] { platform::RunHandler(desktop_, this, [this] { PrintLabelsClick(); }); });
}

int TForm3::LabelSize() const {
    const auto buttons = Buttons();
    for (std::size_t i = 0; i < 8; ++i) {
        if (buttons[i]->isChecked())
            return static_cast<int>(i) + 1;
    }
    return 9;
}

void TForm3::SetLabelSize(int value) {
    const auto buttons = Buttons();
    (value >= 1 && value <= 8 ? buttons[static_cast<std::size_t>(value - 1)] : L9)
        ->setChecked(true);
}

// Each time the dialog is shown it places itself beside the main window.
QPoint TForm3::FramePlace() const {
    return BesideMainWindow(mainWindow_, QPoint(64, 25));
}

void TForm3::ExitLabelsClick() {
    if (dataField_)
        dataField_->setFocus();
    reject();
}

void TForm3::PrintLabelsClick() {
    // The launch itself (clipboard, template, explanation) is wired in by the program.
    if (onPrintLabels)
        onPrintLabels();
    reject();
}

}  // namespace sw
