// The main window: every control of the program, the run state, and the handlers. Each job has
// a file of its own: main_window.cpp makes the window, panel.cpp and data_area.cpp build the
// controls, tab_order.cpp orders them, handler_wiring.cpp and event_filter.cpp connect them to
// the handlers, and each command lives in its own file (make_command.cpp, type_selection.cpp,
// startup.cpp, settings.cpp, help_links.cpp, ...).
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QToolButton>
#include <QWidget>
#include <memory>

#include "app/deferred.h"
#include "barcode/catalogue.h"
#include "platform/desktop.h"
#include "platform/handlers.h"
#include "platform/print_surface.h"
#include "platform/tooltips.h"
#include "widgets/preview_edit.h"
#include "widgets/widgets.h"

namespace sw {

class TWarningBox;
class TForm2;
class TTip;
class TForm3;
class TForm4;

class TForm1 : public QWidget {
  public:
    explicit TForm1(platform::Desktop& desktop, QWidget* parent = nullptr);
    ~TForm1() override;

    // The top panel.
    QFrame* Panel1;
    QLabel* Label2;
    QGroupBox* GroupBox1;
    QRadioButton* Radio25;
    QRadioButton* Radio25i;
    QRadioButton* Radio39;
    QRadioButton* RadioPostNet;
    QRadioButton* RadioUPCA;
    QLabel* Label1;
    QToolButton* SpeedButton1;  // Tips
    QToolButton* SpeedButton3;  // About
    QToolButton* SpeedButton2;  // Help
    QGroupBox* FontSize;
    QRadioButton* Short;
    QRadioButton* Normal;
    QRadioButton* Tall;
    QGroupBox* GroupBox2;
    QComboBox* PointSize;
    QCheckBox* TipCheckBox;
    QCheckBox* OptionalChecksum;

    // Below the panel.
    QLabel* StaticText4;
    DataLineEdit* BarTextInput;
    QPushButton* MakeButtonClick;
    QPushButton* CopyButtonClick;
    QPushButton* PrintLabels;
    QPushButton* PrintButtonClick;
    QLabel* StaticText5;
    QLineEdit* BarTextOut;
    QLabel* StaticText6;
    PreviewEdit* BarCodeOut;
    QLabel* PreviewScale;  // the note of the scale while the preview is drawn scaled down
    LinkLabel* StaticText3;

    // The dialogs, each made once, when first used (owned by this window); the program sets
    // how each is made.
    Deferred<TWarningBox> WarningBox;
    Deferred<TForm2> Form2;
    Deferred<TTip> Tip;
    Deferred<TForm3> Form3;
    Deferred<TForm4> Form4;

    // Run state, reset at each start.
    bool BarCodeMade = false;
    bool FolderFound = false;
    int RunCounter = 0;
    int CurrentStamp = 0;
    int InstallStamp = 0;

    // Start-up and settings (startup.cpp, settings.cpp).
    void FormActivate();
    void FormClose();
    void TipCheckBoxClick();

    // Make (make_command.cpp).
    void MakeButtonClickClick();
    void ShowErrorInPreview(const QString& message);

    // Types, checksum and faces (type_selection.cpp).
    void Select25();
    void Select25i();
    void Select39();
    void SelectPost();
    void SelectUPC();
    void SelectType(BarCodeType type);
    void OptionalChecksumClick();
    QString BarcodeFontFace() const;
    BarCodeType SelectedType() const;  // from the radio buttons, in the order Make tests them
    QString TypeSetting() const;       // the stored text of the selected type
    QString HeightSetting() const;     // "S", "N" or "T"

    // Bar height and point size changes (size_changes.cpp).
    void RefreshPreviewFont();
    void ShortClick();
    void PointSizeChange();

    // Help, tips, web link (help_links.cpp).
    void SpeedButton2Click();
    void BarTextInputKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void SpeedButton1Click();
    void StaticText3Click();
    // Opens the help: the compiled file where a viewer for it exists (from the working folder,
    // else the installed one), otherwise the installed HTML pages in the browser.
    void OpenHelp();

    // Copy (copy_command.cpp), the sample page (sample_command.cpp), labels
    // (labels_command.cpp) and the about box (about_command.cpp).
    void CopyButtonClickClick();
    void PrintButtonClickClick();
    void PrintLabelsClick();
    void LaunchLabels();  // the label dialog's Print Labels
    void SpeedButton3Click();

    // The print dialog of the sample page; the real one is made when first needed.
    std::unique_ptr<platform::PrintDialog> PrintDialog1;

    platform::Desktop& desktop() const { return desktop_; }
    platform::ToolTipController& tooltips() { return tooltips_; }
    // The program folder (with a trailing separator) and the settings file in it.
    QString ProgramFolder() const;
    QString SettingsPath() const;
    // Where installation messages stand: 100 pixels right of and below the window's corner.
    QPoint MessagePlace() const;
    // Sets the preview's whole text in the field's own font (no formatting of earlier text).
    void SetPreviewText(const QString& text);
    // Sets the type description in Label1, which grows to fit it.
    void SetTypeDescription(const QString& text);

    // The label dialog's choices: the dialog's own once it is made, else those restored from
    // the settings file (which the dialog takes when it is made). `labelSize` outside 1 to 8
    // stands for the custom label, 9.
    void SetLabelChoices(int labelSize, bool explainPaste);
    int LabelSizeChoice() const;
    bool ExplainPasteChoice() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildPanel();
    void BuildDataArea();
    void SetTabOrder();
    void ConnectHandlers();
    QRadioButton* TypeButton(BarCodeType type) const;
    void RestoreSettings();
    void WriteFirstRunSettings();
    void ChooseTipOrReminder();
    // Runs a handler with the program's default handling of an escaping error.
    template <class Handler>
    void Run(Handler&& handler) {
        platform::RunHandler(desktop_, this, std::forward<Handler>(handler));
    }

    platform::Desktop& desktop_;
    platform::ToolTipController tooltips_;
    CaptionInFrameStyle* groupStyle_;
    int labelSize_ = 4;
    bool explainPaste_ = true;
};

}  // namespace sw
