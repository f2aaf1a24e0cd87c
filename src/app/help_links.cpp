// Help, the tip of the day on demand, and the web link.
#include <QDir>
#include <QUrl>

#include "app/main_window.h"
#include "dialogs/tip_of_the_day.h"
#include "output/vendor.h"

namespace sw {

namespace {
// The compiled help file, by its bare name: the desktop finds it in the working folder, where
// the menu entry starts the program.
const QString kHelpFile = QStringLiteral("stripewright.chm");
// The installed help, below the shared data folder: the compiled file, and the same pages as
// HTML for a desktop without a viewer of compiled help.
const QString kInstalledHelpFile = QStringLiteral("stripewright/help/stripewright.chm");
const QString kInstalledHelpPage = QStringLiteral("doc/stripewright/html/index.htm");
}  // namespace

void TForm1::OpenHelp() {
    if (desktop().HasViewerFor(kHelpFile)) {
        if (desktop().FileExists(QDir(desktop().WorkingFolder()).filePath(kHelpFile))) {
            desktop().OpenDocument(kHelpFile, QString());
            return;
        }
        const QString installed = desktop().InstalledFile(kInstalledHelpFile);
        if (!installed.isEmpty()) {
            desktop().OpenDocument(installed, QString());
            return;
        }
    }
    const QString page = desktop().InstalledFile(kInstalledHelpPage);
    if (!page.isEmpty()) {
        desktop().OpenAddress(QUrl::fromLocalFile(page).toString());
        return;
    }
    // Nothing installed to fall back on: the file by its name, as the desktop may still find it.
    desktop().OpenDocument(kHelpFile, QString());
}

void TForm1::SpeedButton2Click() {
    OpenHelp();
    BarTextInput->setFocus();
}

void TForm1::BarTextInputKeyDown(int key, Qt::KeyboardModifiers /*modifiers*/) {
    if (key != Qt::Key_F1)
        return;
    OpenHelp();
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
