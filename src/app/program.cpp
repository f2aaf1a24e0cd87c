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
      WarningBox(Form1.WarningBox),
      Form2(Form1.Form2),
      Tip(Form1.Tip),
      Form3(Form1.Form3),
      Form4(Form1.Form4) {
    // Nothing of a dialog shows before it is first shown, so each is made then (or when the
    // program first reads or sets one of its controls) rather than before the main window
    // appears.
    TForm1* form = &Form1;
    WarningBox.SetFactory([form] { return new TWarningBox(form); });
    Form2.SetFactory([form, &desktop] {
        return new TForm2(desktop, form, [form] { form->BarTextInput->setFocus(); });
    });
    Tip.SetFactory([form, &desktop] { return new TTip(desktop, form); });
    Form3.SetFactory([form, &desktop] {
        auto* dialog = new TForm3(desktop, form, form->BarTextInput);
        dialog->onPrintLabels = [form] { form->LaunchLabels(); };
        // The choices restored at start-up.
        dialog->SetLabelSize(form->LabelSizeChoice());
        dialog->ExplainPaste->setChecked(form->ExplainPasteChoice());
        return dialog;
    });
    Form4.SetFactory([form, &desktop] { return new TForm4(desktop, form, form->BarTextInput); });
}

void Program::CentreMainWindow() {
    const QScreen* screen = Form1.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    Form1.move(area.center() - QPoint(Form1.width() / 2, Form1.height() / 2));
}

}  // namespace sw
