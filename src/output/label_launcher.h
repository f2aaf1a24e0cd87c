// The launch behind the label dialog's Print Labels button: puts the preview on the clipboard,
// explains how to paste it if the user wants that, and asks the shell to open the label
// template of the chosen sheet from the program folder. The dialog closes afterwards in every
// case.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace sw {

namespace platform {
class Desktop;
}

enum class LabelLaunchOutcome {
    Opened,           // the template was handed to the shell
    TemplateMissing,  // one of our templates is not in the program folder
    CustomMissing,    // the user has not made a "custom.rtf" yet
};

struct LabelLaunchRequest {
    int labelSize = 4;                  // the dialog's choice: 1 to 8 a sheet, anything else Custom
    bool explainPaste = true;           // the dialog's ExplainPaste box
    std::function<void()> copyPreview;  // puts the preview on the clipboard with its font
    std::function<void()> focusDataField;  // gives BarTextInput the keyboard focus
};

// `mainWindow` places the messages (its top-left corner + (100, 100)) and owns them.
LabelLaunchOutcome LaunchLabelTemplate(platform::Desktop& desktop, QWidget* mainWindow,
                                       const LabelLaunchRequest& request);

// The texts the launch shows.
QString MissingTemplateMessage(const QString& fileName, const QString& folder);
QString MissingCustomMessage(const QString& folder);
extern const QString kExplainPasteMessage;

}  // namespace sw
