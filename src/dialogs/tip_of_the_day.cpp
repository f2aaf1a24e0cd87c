#include "dialogs/tip_of_the_day.h"

#include <QPainter>
#include <QShowEvent>
#include <limits>

#include "dialogs/enter_key.h"
#include "platform/handlers.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "settings/settings_keys.h"
#include "widgets/pictures.h"
#include "widgets/widgets.h"

namespace sw {

namespace {

const QString kMissingTip = QStringLiteral("XXXX");
const QString kBadFile =
    QStringLiteral("The Tip-of-the-Day file is bad! Please re-install this product.");

// The page's ground (white in a light theme), with an icon and the heading at the top left.
class TipPicture : public QWidget {
  public:
    explicit TipPicture(QWidget* parent) : QWidget(parent) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Base));
        p.drawPixmap(8, 8, pictures::Tips().pixmap(QSize(28, 28), devicePixelRatioF()));
        p.setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 16, true));
        p.setPen(palette().color(QPalette::Text));
        p.drawText(QRect(44, 8, width() - 52, 28), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Did you know..."));
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(8, 140, width() - 8, 140);
    }
};

QToolButton* FlatButton(QWidget* parent, const QString& caption, const QIcon& icon) {
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setIcon(icon);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

TTip::TTip(platform::Desktop& desktop, QWidget* mainWindow)
    : PlacedDialog(mainWindow, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      desktop_(desktop),
      mainWindow_(mainWindow) {
    setWindowTitle(QStringLiteral("Tip of the Day"));
    setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 11));
    setFixedSize(300, 180);

    // The counter and the flat buttons stand on the picture's ground: they take its text colour.
    QPalette page = palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText})
        page.setColor(role, page.color(QPalette::Text));
    setPalette(page);

    Image1 = new TipPicture(this);
    Image1->setGeometry(0, 0, 300, 180);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
    Memo1->setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 12));
    Memo1->setPlainText(QStringLiteral("A helpfull hint goes here."));
    Memo1->setGeometry(8, 44, 280, 89);

    TipLabel = new QLabel(this);
    TipLabel->setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 10));
    TipLabel->move(8, 152);

    SpeedButton1 = FlatButton(this, QStringLiteral("&Previous"), pictures::Previous());
    SpeedButton1->setGeometry(70, 145, 87, 30);
    NextTip = FlatButton(this, QStringLiteral("&Next"), pictures::Next());
    NextTip->setToolTip(QStringLiteral("Show the next tip"));
    NextTip->setGeometry(162, 145, 68, 30);
    ExitTips = FlatButton(this, QStringLiteral("E&xit"), pictures::Exit());
    ExitTips->setToolTip(QStringLiteral("Return back to the program"));
    ExitTips->setGeometry(238, 145, 54, 30);

    new EnterPressesFocusedButton(this);
    const auto connectButton = [this](QToolButton* button, void (TTip::*handler)()) {
        connect(button, &QToolButton::clicked, this, [this, handler] {
            platform::RunHandler(desktop_, this, [&] { (this->*handler)(); });
        });
    };
    connectButton(SpeedButton1, &TTip::SpeedButton1Click);
    connectButton(NextTip, &TTip::NextTipClick);
    connectButton(ExitTips, &TTip::ExitTipsClick);
}

void TTip::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        platform::RunHandler(desktop_, this, [this] { FormActivate(); });
}

QPoint TTip::FramePlace() const {
    return BesideMainWindow(mainWindow_, QPoint(60, 100));
}

void TTip::FormActivate() {
    ShowNextTip();
}

void TTip::NextTipClick() {
    ShowNextTip();
}
void TTip::SpeedButton1Click() {
    ShowPreviousTip();
}
void TTip::ExitTipsClick() {
    reject();
}

QString TTip::SettingsPath() const {
    return platform::SettingsFilePath(desktop_.DocumentsFolder(), desktop_.ExecutableFileName());
}

void TTip::Warn(const QString& text) {
    desktop_.WarningBox(this, text, BesideMainWindow(mainWindow_, QPoint(100, 100)));
}

void TTip::ShowNextTip() {
    using namespace keys;
    platform::IniFile ini(SettingsPath());
    if (!ini.SectionExists(kTipOfTheDay)) {
        Warn(kTipFileMissing);
        return;
    }
    Memo1->clear();
    int position = ini.ReadInteger(kTipOfTheDay, kPosition, 0);
    const int maximum = ini.ReadInteger(kTipOfTheDay, kMaximum, 1);
    QString tip = ini.ReadString(kTips, QString::number(position), kMissingTip);
    if (tip == kMissingTip) {
        position = 0;
        ini.WriteInteger(kTipOfTheDay, kPosition, 0);
        tip = ini.ReadString(kTips, QStringLiteral("0"), kMissingTip);
        if (tip == kMissingTip) {
            Warn(kBadFile);
            return;
        }
    }
    // Counted in 64 bits: the file may hold any integer.
    TipLabel->setText(
        QStringLiteral("Tip %1 of %2").arg(qint64(position) + 1).arg(qint64(maximum) + 1));
    TipLabel->adjustSize();
    Memo1->setPlainText(tip);
    ini.WriteString(kTipOfTheDay, kPosition, QString::number(qint64(position) + 1));
}

void TTip::ShowPreviousTip() {
    using namespace keys;
    {
        platform::IniFile ini(SettingsPath());
        if (!ini.SectionExists(kTipOfTheDay)) {
            Warn(kTipFileMissing);
            return;
        }
        const qint64 position = ini.ReadInteger(kTipOfTheDay, kPosition, 0);
        qint64 previous = 0;
        if (position == 1) {
            previous = ini.ReadInteger(kTipOfTheDay, kMaximum, 0);
        } else if (position == 0) {
            previous = qint64(ini.ReadInteger(kTipOfTheDay, kMaximum, 0)) - 1;
        } else {
            previous = position - 2;
        }
        ini.WriteString(kTipOfTheDay, kPosition, QString::number(previous));
    }
    ShowNextTip();
}

}  // namespace sw
