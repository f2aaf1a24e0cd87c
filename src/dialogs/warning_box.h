// The clipboard warning: tells the user how to apply a bar code font by hand when the program
// they paste into keeps only the characters. Its check box turns the warning off for the rest
// of the run.
#pragma once

#include "dialogs/placed_dialog.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace sw {

class TWarningBox : public PlacedDialog {
    Q_OBJECT

  public:
    explicit TWarningBox(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QCheckBox* NoWarningBox;
    QPushButton* OKBtn;

    // Where the dialog goes when shown: centred on the screen of its parent, or on the primary
    // screen when it has none.
    QPoint CentredPosition() const;

  protected:
    void showEvent(QShowEvent* event) override;
    QPoint FramePlace() const override { return CentredPosition(); }
};

}  // namespace sw
