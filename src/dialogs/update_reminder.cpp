#include "dialogs/update_reminder.h"

#include <QPainter>
#include <QShowEvent>

#include "dialogs/enter_key.h"
#include "output/vendor.h"
#include "platform/handlers.h"
#include "widgets/pictures.h"
#include "widgets/widgets.h"

namespace sw {

namespace {

const QString kFace = QStringLiteral("Tahoma");

// A product picture on the left and the heading on the right, on the page's ground (white in a
// light theme).
class UpdatePicture : public QWidget {
  public:
    explicit UpdatePicture(QWidget* parent) : QWidget(parent) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Base));
        p.drawPixmap(10, 14, pictures::BarCodeArt(80, 56));
        QFont heading = LayoutFont(kFace, 15, true);
        p.setFont(heading);
        p.setPen(palette().color(QPalette::Link));
        p.drawText(QRect(100, 6, width() - 104, 64),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                   QStringLiteral("A newer version of this program is available!"));
    }
};

QLabel* TextLine(QWidget* parent, const QString& text, int left, int top, int width, int height) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(left, top, width, height);
    label->setForegroundRole(QPalette::Text);  // on the picture's ground
    const int needed = label->sizeHint().width();
    if (needed > width)
        label->resize(needed, height);
    return label;
}

}  // namespace

bool UpdateReminderDue(int currentStamp, int installStamp) {
    return qint64(currentStamp) - qint64(installStamp) > 100;
}

TForm4::TForm4(platform::Desktop& desktop, QWidget* mainWindow, QWidget* dataField)
    : PlacedDialog(mainWindow, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      desktop_(desktop),
      mainWindow_(mainWindow),
      dataField_(dataField) {
    setWindowTitle(QStringLiteral("Update"));
    QFont font;
    font.setFamilies({kFace, QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPointSize(8);
    setFont(font);
    setFixedSize(300, 190);

    Image1 = new UpdatePicture(this);
    Image1->setGeometry(0, 0, 300, 150);
    StaticText4 =
        TextLine(this, QStringLiteral("Updates are available at a 50% discount"), 100, 73, 199, 17);
    StaticText1 =
        TextLine(this, QStringLiteral("and include one year of maintenance."), 100, 88, 185, 17);
    StaticText2 = TextLine(this, QStringLiteral("Would you like to visit our web site for"), 100,
                           103, 187, 17);
    StaticText3 =
        TextLine(this, QStringLiteral("more information on purchasing this"), 100, 118, 175, 17);
    StaticText5 = TextLine(this, QStringLiteral("update?"), 100, 132, 43, 17);

    StopUpdateCheck = new QPushButton(QStringLiteral("&Stop Showing This Message"), this);
    StopUpdateCheck->setGeometry(10, 158, 153, 25);
    CheckUpdate = new QPushButton(QStringLiteral("&Yes"), this);
    CheckUpdate->setGeometry(215, 158, 41, 25);
    NoUpdate = new QPushButton(QStringLiteral("&No"), this);
    NoUpdate->setGeometry(262, 158, 32, 25);
    for (QPushButton* button : {StopUpdateCheck, CheckUpdate, NoUpdate}) {
        button->setAutoDefault(false);
    }
    new EnterPressesFocusedButton(this);
    setTabOrder(CheckUpdate, NoUpdate);
    setTabOrder(NoUpdate, StopUpdateCheck);

    const auto connectButton = [this](QPushButton* button, void (TForm4::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] {
            platform::RunHandler(desktop_, this, [&] { (this->*handler)(); });
        });
    };
    connectButton(CheckUpdate, &TForm4::CheckUpdateClick);
    connectButton(NoUpdate, &TForm4::NoUpdateClick);
    connectButton(StopUpdateCheck, &TForm4::StopUpdateCheckClick);
}

void TForm4::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        platform::RunHandler(desktop_, this, [this] { FormActivate(); });
}

QPoint TForm4::FramePlace() const {
    return BesideMainWindow(mainWindow_, QPoint(60, 101));
}

void TForm4::FormActivate() {
    CheckUpdate->setFocus();
}

void TForm4::CheckUpdateClick() {
    desktop_.OpenAddress(vendor::UpdatePageAddress());
    if (dataField_)
        dataField_->setFocus();
    accept();
}

void TForm4::NoUpdateClick() {
    reject();
}

void TForm4::StopUpdateCheckClick() {
    StopRequest = 1;
    reject();
}

}  // namespace sw
