// Help, the tip of the day on demand, and the web link.
#include "app/main_window.h"
#include "dialogs/tip_of_the_day.h"
#include "output/vendor.h"

namespace sw {

namespace {
// Opened by its bare name: the desktop resolves it against the working folder.
const QString kHelpFile = QStringLiteral("stripewright.chm");
}  // namespace

void TForm1::SpeedButton2Click() {
    desktop().OpenDocument(kHelpFile, QString());
    BarTextInput->setFocus();
}

void TForm1::BarTextInputKeyDown(int key, Qt::KeyboardModifiers /*modifiers*/) {
    if (key != Qt::Key_F1)
        return;
    desktop().OpenDocument(kHelpFile, QString());
    BarTextInput->setFocus();
}

void TForm1::SpeedButton1Click() {
    if (Tip.get())
        desktop().ShowModal(Tip);
    BarTextInput->setFocus();
}

void TForm1::StaticText3Click() {
    BarTextInput->setFocus();
    desktop().OpenAddress(vendor::ProductPageAddress());
}

}  // namespace sw
