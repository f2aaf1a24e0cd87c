// The one seam between the program and the desktop. The window classes reach folders, the
// shell, the beep, message boxes, modal dialogs, the clipboard and the clock only through a
// Desktop; tests put a recording one in its place.
#pragma once

#include <QDate>
#include <QPoint>
#include <QString>

class QDialog;
class QMimeData;
class QWidget;

namespace sw::platform {

class Desktop {
  public:
    virtual ~Desktop() = default;

    // The user's personal documents folder, without a trailing separator.
    virtual QString DocumentsFolder() const = 0;
    virtual bool DirectoryExists(const QString& path) const = 0;
    virtual bool FileExists(const QString& path) const = 0;
    // The running program's file name without folder ("stripewright").
    virtual QString ExecutableFileName() const = 0;
    // The folder the program was started in.
    virtual QString WorkingFolder() const = 0;
    // A file of the installation by its path below the shared data folder (<prefix>/share), as
    // "stripewright/help/stripewright.chm": the one beside the program's own installation, or
    // else the one where the build installs it. Empty when neither exists.
    virtual QString InstalledFile(const QString& path) const = 0;
    // Whether the desktop has an application that opens files of this name's kind.
    virtual bool HasViewerFor(const QString& fileName) const = 0;

    // Runs the set-up program for the user (stripewright-setup, beside the program or where the
    // build installs it) and waits until it ends. Returns why it failed, in the set-up's words
    // where it gave any; empty when it succeeded.
    virtual QString RunSetup() = 0;

    // Shell requests; their results are never examined. A document is opened with the "open"
    // verb and a working folder (empty: none); an address with the default action.
    virtual void OpenDocument(const QString& file, const QString& workingFolder) = 0;
    virtual void OpenAddress(const QString& address) = 0;

    virtual void Beep() = 0;

    // A modal warning message box with one OK button, its top-left corner at `topLeft`.
    virtual void WarningBox(QWidget* owner, const QString& text, QPoint topLeft) = 0;
    // The standard error message box for an error that escaped an event handler.
    virtual void ErrorBox(QWidget* owner, const QString& text) = 0;

    // Shows a dialog modally and returns its result.
    virtual int ShowModal(QDialog* dialog) = 0;

    // Replaces the clipboard's content (takes ownership).
    virtual void SetClipboard(QMimeData* data) = 0;

    // The local calendar date.
    virtual QDate Today() const = 0;
};

// The real desktop (Qt, XDG folders, xdg-open).
Desktop& SystemDesktop();

}  // namespace sw::platform
