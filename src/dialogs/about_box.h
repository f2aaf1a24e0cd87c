// The about box: product name, version, the vendor's identity and two links, one to the
// update check for this version and one to the product page.
#pragma once

#include <functional>

#include "dialogs/placed_dialog.h"

class QLabel;

namespace sw {

namespace platform {
class Desktop;
}

class TForm2 : public PlacedDialog {
  public:
    // `mainWindow` places the box; `focusDataField` gives the main window's BarTextInput the
    // keyboard focus.
    TForm2(platform::Desktop& desktop, QWidget* mainWindow, std::function<void()> focusDataField);

    // Runs each time the box is about to be shown, before it is placed (FramePlace): sets the
    // version and copyright texts, and the box's size to fit them.
    void FormActivate();
    void CurVersionClick();
    void StaticText8Click();

    QLabel* Image1;
    QLabel* StaticText7;
    QLabel* CurVersion;
    QLabel* StaticText1;
    QLabel* StaticText2;
    QLabel* StaticText3;
    QLabel* StaticText4;
    QLabel* StaticText5;
    QLabel* StaticText8;

  protected:
    void Prepare() override { FormActivate(); }
    QPoint FramePlace() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* AddText(int left, int top, const QString& text);
    void FitToTexts();

    platform::Desktop& desktop_;
    QWidget* mainWindow_;
    std::function<void()> focusDataField_;
};

}  // namespace sw
