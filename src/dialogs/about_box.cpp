#include "dialogs/about_box.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include "barcode/version.h"
#include "output/vendor.h"
#include "platform/desktop.h"

namespace sw {
namespace {

constexpr QSize kClientSize(198, 160);
constexpr QSize kPictureSize(196, 160);
constexpr int kIconSize = 32;

QString ProgramVersion() {
    return QString::fromLatin1(kProgramVersion.data(),
                               static_cast<qsizetype>(kProgramVersion.size()));
}

QPixmap Picture(const QStyle* style, const QColor& ground) {
    QPixmap picture(kPictureSize);
    picture.fill(ground);
    QPainter painter(&picture);
    const QIcon icon = style->standardIcon(QStyle::SP_MessageBoxInformation);
    painter.drawPixmap(12, 6, icon.pixmap(kIconSize, kIconSize));
    return picture;
}

}  // namespace

TForm2::TForm2(platform::Desktop& desktop, QWidget* mainWindow,
               std::function<void()> focusDataField)
    : PlacedDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      desktop_(desktop),
      mainWindow_(mainWindow),
      focusDataField_(std::move(focusDataField)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    setFont(font);
    // The ground and text of a document in the desktop's colours: white and black in a light
    // theme, readable in a dark one.
    setBackgroundRole(QPalette::Base);
    setForegroundRole(QPalette::Text);
    setAutoFillBackground(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(QRect(QPoint(0, 0), kPictureSize));
    Image1->setPixmap(Picture(style(), palette().color(QPalette::Base)));

    StaticText7 = AddText(56, 8, QStringLiteral("Stripewright"));
    QFont bold = font;
    bold.setBold(true);
    StaticText7->setFont(bold);

    CurVersion = AddText(152, 32, QString());
    QFont underlined = font;
    underlined.setUnderline(true);
    CurVersion->setFont(underlined);
    CurVersion->setToolTip(QStringLiteral("Click to check the web for an update"));

    StaticText1 = AddText(12, 42, vendor::kName);
    StaticText2 = AddText(12, 58, vendor::kStreet);
    StaticText3 = AddText(12, 74, vendor::kTown);
    StaticText4 = AddText(12, 98, vendor::kPhone);
    StaticText5 = AddText(12, 114, vendor::kFax);
    StaticText8 = AddText(12, 134, QString());
    StaticText8->setToolTip(QStringLiteral("Click to visit the web site product page"));

    for (QLabel* link : {CurVersion, StaticText8}) {
        link->setForegroundRole(QPalette::Link);
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
    const char* names[] = {"StaticText7", "CurVersion",  "StaticText1", "StaticText2",
                           "StaticText3", "StaticText4", "StaticText5", "StaticText8"};
    QLabel* labels[] = {StaticText7, CurVersion,  StaticText1, StaticText2,
                        StaticText3, StaticText4, StaticText5, StaticText8};
    for (std::size_t i = 0; i < std::size(labels); ++i) {
        labels[i]->setObjectName(QString::fromLatin1(names[i]));
    }
    // The texts are measured when the box is first shown (FormActivate): the box is created
    // hidden at start-up, and measuring them would load its face for nothing until then.
    setFixedSize(kClientSize);
}

QLabel* TForm2::AddText(int left, int top, const QString& text) {
    auto* label = new QLabel(text, this);
    label->move(left, top);
    label->setBackgroundRole(QPalette::Base);
    label->setForegroundRole(QPalette::Text);
    label->setAutoFillBackground(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Every text line sizes itself to its text; the box keeps its size unless a line would be cut
// off at its right edge, as can happen when the font is substituted by a wider one.
void TForm2::FitToTexts() {
    int right = kClientSize.width();
    for (QLabel* label : findChildren<QLabel*>()) {
        if (label == Image1)
            continue;
        label->adjustSize();
        right = std::max(right, label->geometry().right() + 1 + 4);
    }
    setFixedSize(right, kClientSize.height());
}

void TForm2::FormActivate() {
    StaticText8->setText(vendor::kCopyright);
    CurVersion->setText(QStringLiteral("V") + ProgramVersion());
    FitToTexts();
}

void TForm2::CurVersionClick() {
    if (focusDataField_)
        focusDataField_();
    desktop_.OpenAddress(vendor::UpdateCheckAddress());
}

void TForm2::StaticText8Click() {
    if (focusDataField_)
        focusDataField_();
    desktop_.OpenAddress(vendor::ProductPageAddress());
}

QPoint TForm2::FramePlace() const {
    return BesideMainWindow(mainWindow_, QPoint(111, 109));
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* label = static_cast<QLabel*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint())) {
            if (watched == CurVersion) {
                CurVersionClick();
                return true;
            }
            if (watched == StaticText8) {
                StaticText8Click();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace sw
