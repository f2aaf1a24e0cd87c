// The update reminder: shown at start-up instead of the tip of the day once the installation
// month stamp is more than 100 behind the current one (13 calendar months or more).
#pragma once

#include <QLabel>
#include <QPushButton>

#include "dialogs/placed_dialog.h"
#include "platform/desktop.h"

namespace sw {

// Whether the reminder is due: the current stamp minus the installation stamp exceeds 100.
bool UpdateReminderDue(int currentStamp, int installStamp);

class TForm4 : public PlacedDialog {
  public:
    // `mainWindow` places the dialog; `dataField` takes the focus after "Yes".
    TForm4(platform::Desktop& desktop, QWidget* mainWindow, QWidget* dataField);

    QWidget* Image1;
    QLabel* StaticText4;
    QLabel* StaticText1;
    QLabel* StaticText2;
    QLabel* StaticText3;
    QLabel* StaticText5;
    QPushButton* StopUpdateCheck;
    QPushButton* CheckUpdate;
    QPushButton* NoUpdate;

    // 1 once the user asked to stop the reminder; the start-up reads and resets it.
    int StopRequest = 0;

    void FormActivate();
    void CheckUpdateClick();
    void NoUpdateClick();
    void StopUpdateCheckClick();

  protected:
    void showEvent(QShowEvent* event) override;
    QPoint FramePlace() const override;

  private:
    platform::Desktop& desktop_;
    QWidget* mainWindow_;
    QWidget* dataField_;
};

}  // namespace sw
