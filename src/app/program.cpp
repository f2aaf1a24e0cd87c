#include "app/program.h"

#include <QScreen>

#include "dialogs/about_box.h"
#include "dialogs/label_dialog.h"
#include "dialogs/tip_of_the_day.h"
#include "dialogs/update_reminder.h"
#include "dialogs/warning_box.h"

namespace sw {

Program::Program(platform::Desktop& desktop)
    : Form1(desktop),
      WarningBox(new TWarningBox(&Form1)),
      Form2(new TForm2(desktop, &Form1, [this] { Form1.BarTextInput->setFocus(); })),
      Tip(new TTip(desktop, &Form1)),
      Form3(new TForm3(desktop, &Form1, Form1.BarTextInput)),
      Form4(new TForm4(desktop, &Form1, Form1.BarTextInput)) {
    Form1.WarningBox = WarningBox;
    Form1.Form2 = Form2;
    Form1.Tip = Tip;
    Form1.Form3 = Form3;
    Form1.Form4 = Form4;
    Form3->onPrintLabels = [this] { Form1.LaunchLabels(); };
}

void Program::CentreMainWindow() {
    const QScreen* screen = Form1.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    Form1.move(area.center() - QPoint(Form1.width() / 2, Form1.height() / 2));
}

}  // namespace sw
