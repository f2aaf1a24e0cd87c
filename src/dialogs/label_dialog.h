// The label dialog's controls: the label sheet choice and the paste explanation, which the
// settings file carries between runs. What Print Labels does is wired in through
// `onPrintLabels`.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <functional>

#include "dialogs/placed_dialog.h"
#include "platform/desktop.h"

namespace sw {

class TForm3 : public PlacedDialog {
  public:
    // `mainWindow` places the dialog; `dataField` takes the focus on Return.
    TForm3(platform::Desktop& desktop, QWidget* mainWindow, QWidget* dataField);

    QLabel* Label1;        // the heading
    QGroupBox* GroupBox1;  // "Label Size "
    QRadioButton* L1;
    QRadioButton* L2;
    QRadioButton* L3;
    QRadioButton* L4;
    QRadioButton* L5;
    QRadioButton* L6;
    QRadioButton* L7;
    QRadioButton* L8;
    QRadioButton* L9;
    QLabel* SheetsHeading;  // "Labels / Sheet "
    QLabel* NumberHeading;  // "Label Number "
    QCheckBox* ExplainPaste;
    QPushButton* ExitLabels;
    QPushButton* PrintLabels;

    // The launch of the selected template; the dialog closes after it in every case.
    std::function<void()> onPrintLabels;

    // The "LabelSize" value of the selection: 1 to 8 for L1 to L8, 9 when none of them is set.
    int LabelSize() const;
    // Selects L1 to L8 for 1 to 8 and L9 (Custom) for any other value.
    void SetLabelSize(int value);
    std::array<QRadioButton*, 9> Buttons() const { return {L1, L2, L3, L4, L5, L6, L7, L8, L9}; }

    void ExitLabelsClick();
    void PrintLabelsClick();

  protected:
    // Beside the main window, each time the dialog is shown.
    QPoint FramePlace() const override;

  private:
    platform::Desktop& desktop_;
    QWidget* mainWindow_;
    QWidget* dataField_;
};

}  // namespace sw
