#include "app/program.h"

#include <QScreen>

#include "dialogs/label_dialog.h"
#include "dialogs/tip_of_the_day.h"
#include "dialogs/update_reminder.h"

namespace sw {

Program::Program(platform::Desktop& desktop)
    : Form1(desktop),
      Tip(new TTip(desktop, &Form1)),
      Form3(new TForm3(desktop, &Form1, Form1.BarTextInput)),
      Form4(new TForm4(desktop, &Form1, Form1.BarTextInput)) {
    Form1.Tip = Tip;
    Form1.Form3 = Form3;
    Form1.Form4 = Form4;
}

void Program::CentreMainWindow() {
    const QScreen* screen = Form1.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    Form1.move(area.center() - QPoint(Form1.width() / 2, Form1.height() / 2));
}

}  // namespace sw
