#include "dialogs/warning_box.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "dialogs/enter_key.h"

namespace sw {
namespace {

constexpr int kClientWidth = 295;
constexpr int kClientHeight = 191;

QFont DialogFont(int pixelSize, bool bold) {
    // The dialog was laid out for a narrow face; where the desktop lacks it, Arial's metrics
    // come closest of what is commonly installed.
    const QString face = QStringLiteral("MS Sans Serif");
    QFont font(QFontDatabase::hasFamily(face) ? face : QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A label at its place. A label grows to the right when the desktop's substitute for its face
// is wider than the face it was laid out for, so that no text is cut off; it never reaches past
// the client area.
QLabel* MakeLabel(QWidget* parent, const QFont& font, int left, int top, int width, int height,
                  const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    const int needed = QFontMetrics(font).horizontalAdvance(text) + 1;
    const int widest = kClientWidth - left;
    label->setGeometry(left, top, std::min(std::max(width, needed), widest), height);
    return label;
}

}  // namespace

TWarningBox::TWarningBox(QWidget* parent)
    : PlacedDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("WarningBox"));
    setWindowTitle(QStringLiteral("Clip Board Warning"));
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);

    const QFont text = DialogFont(13, false);
    setFont(text);
    Label1 = MakeLabel(this, DialogFont(16, true), 112, 3, 44, 20, QStringLiteral("Note!"));
    Label2 = MakeLabel(this, text, 8, 24, 276, 16,
                       QStringLiteral("We copy both the bar code font and data to the"));
    Label3 = MakeLabel(this, text, 8, 40, 256, 16,
                       QStringLiteral("clip board, but not all applications"));
    Label4 = MakeLabel(this, text, 8, 56, 284, 16,
                       QStringLiteral("support pasting font information. Once you paste"));
    Label5 = MakeLabel(this, text, 8, 72, 276, 16,
                       QStringLiteral("this bar code into your application, if you do not"));
    Label6 = MakeLabel(this, text, 8, 88, 275, 16,
                       QStringLiteral("see a bar code (you only see the data) you will"));
    Label7 = MakeLabel(this, text, 8, 104, 259, 16,
                       QStringLiteral("need to highlight the bar code data and then"));
    Label8 = MakeLabel(this, text, 8, 120, 216, 16,
                       QStringLiteral("select one of our bar code fonts for it."));

    NoWarningBox = new QCheckBox(QStringLiteral("Don't show this warning box again"), this);
    NoWarningBox->setObjectName(QStringLiteral("NoWarningBox"));
    NoWarningBox->setFont(text);
    NoWarningBox->setGeometry(48, 140, std::max(185, NoWarningBox->sizeHint().width()), 17);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setFont(text);
    OKBtn->setGeometry(103, 158, 75, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    new EnterPressesFocusedButton(this);
    setTabOrder(NoWarningBox, OKBtn);
}

QPoint TWarningBox::CentredPosition() const {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return pos();
    const QRect area = screen->geometry();
    return area.topLeft() + QPoint((area.width() - width()) / 2, (area.height() - height()) / 2);
}

void TWarningBox::showEvent(QShowEvent* event) {
    // Centred as it is shown: PlacedDialog::setVisible.
    OKBtn->setFocus();
    QDialog::showEvent(event);
}

}  // namespace sw
