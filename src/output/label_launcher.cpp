#include "output/label_launcher.h"

#include <QDir>
#include <QWidget>

#include "output/label_sheets.h"
#include "platform/desktop.h"
#include "platform/paths.h"

namespace sw {

const QString kExplainPasteMessage = QStringLiteral(
    "To add your bar code to a label, place\n"
    "the cursor in any label on the form,\n"
    "then on the menu bar click on Edit, Paste\n"
    "or just enter a Ctrl-V.");

QString MissingTemplateMessage(const QString& fileName, const QString& folder) {
    return QStringLiteral(
               "The label template %1 is missing from the folder\n%2\n"
               "Please re-install this product.")
        .arg(fileName, folder);
}

QString MissingCustomMessage(const QString& folder) {
    return QStringLiteral(
               "You have not yet defined a custom template. Make your\n"
               "own label template, name the file custom.rtf, and place\n"
               "this file in the:\n%1 folder.")
        .arg(folder);
}

LabelLaunchOutcome LaunchLabelTemplate(platform::Desktop& desktop, QWidget* mainWindow,
                                       const LabelLaunchRequest& request) {
    // The clipboard gets the preview whether or not the template is there.
    if (request.copyPreview)
        request.copyPreview();
    if (request.focusDataField)
        request.focusDataField();

    const LabelChoice& choice = ChoiceForLabelSize(request.labelSize);
    const QString fileName =
        QString::fromLatin1(choice.fileName.data(), static_cast<qsizetype>(choice.fileName.size()));
    QString folder = platform::ProgramFolderPath(desktop.DocumentsFolder());
    // Without a documents folder there is no program folder, never one relative to here.
    const QString fullPath = folder.isEmpty() ? QString() : folder + fileName;
    folder.chop(1);  // the messages and the shell get the folder without its trailing separator

    const QPoint boxAt = (mainWindow ? mainWindow->pos() : QPoint()) + QPoint(100, 100);
    // A path too long for the file system cannot name an existing file, so it ends here too.
    if (!desktop.FileExists(fullPath)) {
        const QString shown = QDir::toNativeSeparators(folder);
        if (choice.IsCustom()) {
            desktop.WarningBox(mainWindow, MissingCustomMessage(shown), boxAt);
            return LabelLaunchOutcome::CustomMissing;
        }
        desktop.WarningBox(mainWindow, MissingTemplateMessage(fileName, shown), boxAt);
        return LabelLaunchOutcome::TemplateMissing;
    }
    if (request.explainPaste)
        desktop.WarningBox(mainWindow, kExplainPasteMessage, boxAt);
    desktop.OpenDocument(fileName, folder);
    return LabelLaunchOutcome::Opened;
}

}  // namespace sw
