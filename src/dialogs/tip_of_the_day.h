// The tip of the day: one tip at a time from the settings file's "Tips" section, stepping
// forwards and backwards. Where the user stands lives in the file ("Position" of section
// "TipoftheDay"), never in the dialog, so every showing continues after the last tip shown.
#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>

#include "dialogs/placed_dialog.h"
#include "platform/desktop.h"

namespace sw {

class TTip : public PlacedDialog {
  public:
    // `mainWindow` places the dialog and its messages.
    TTip(platform::Desktop& desktop, QWidget* mainWindow);

    QWidget* Image1;
    QPlainTextEdit* Memo1;
    QLabel* TipLabel;
    QToolButton* SpeedButton1;  // Previous
    QToolButton* NextTip;
    QToolButton* ExitTips;

    // Runs each time the dialog is shown (which places it: FramePlace): shows the next tip.
    void FormActivate();
    void NextTipClick();
    void SpeedButton1Click();
    void ExitTipsClick();

    void ShowNextTip();
    void ShowPreviousTip();

  protected:
    void showEvent(QShowEvent* event) override;
    QPoint FramePlace() const override;

  private:
    QString SettingsPath() const;
    void Warn(const QString& text);

    platform::Desktop& desktop_;
    QWidget* mainWindow_;
};

}  // namespace sw
