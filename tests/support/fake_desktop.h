// A Desktop that records every request instead of reaching the real desktop. Modal dialogs are
// not run: a test sets `onShowModal` to act on the dialog (click its buttons, read it) and the
// result it returns is the dialog's result.
#pragma once

#include <QDialog>
#include <QMimeData>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "platform/desktop.h"

namespace sw::testing {

class FakeDesktop : public platform::Desktop {
  public:
    struct Box {
        QString text;
        QPoint topLeft;
    };
    struct Opened {
        QString target;
        QString workingFolder;
    };

    QString documents;
    QString executable = QStringLiteral("stripewright");
    QString startFolder;                  // the working folder the program was started in
    QString share;                        // the installation's shared data folder; empty: none
    bool helpViewer = false;              // whether compiled help files have an application
    std::function<QString()> onRunSetup;  // what the set-up does; unset: nothing, no failure
    int setupRuns = 0;
    QDate today = QDate(2026, 12, 8);
    std::vector<Box> warnings;
    QStringList errors;
    std::vector<Opened> documentsOpened;
    QStringList addressesOpened;
    std::vector<QDialog*> modalsShown;
    std::unique_ptr<QMimeData> clipboard;
    int beeps = 0;
    std::function<int(QDialog*)> onShowModal;
    std::function<void(const QString&)> onWarning;

    QString DocumentsFolder() const override { return documents; }
    bool DirectoryExists(const QString& path) const override;
    bool FileExists(const QString& path) const override;
    QString ExecutableFileName() const override { return executable; }
    QString WorkingFolder() const override { return startFolder; }
    QString InstalledFile(const QString& path) const override;
    bool HasViewerFor(const QString&) const override { return helpViewer; }
    QString RunSetup() override {
        ++setupRuns;
        return onRunSetup ? onRunSetup() : QString();
    }
    void OpenDocument(const QString& file, const QString& workingFolder) override {
        documentsOpened.push_back({file, workingFolder});
    }
    void OpenAddress(const QString& address) override { addressesOpened << address; }
    void Beep() override { ++beeps; }
    void WarningBox(QWidget*, const QString& text, QPoint topLeft) override {
        warnings.push_back({text, topLeft});
        if (onWarning)
            onWarning(text);
    }
    void ErrorBox(QWidget*, const QString& text) override { errors << text; }
    int ShowModal(QDialog* dialog) override {
        modalsShown.push_back(dialog);
        return onShowModal ? onShowModal(dialog) : QDialog::Rejected;
    }
    void SetClipboard(QMimeData* data) override { clipboard.reset(data); }
    QDate Today() const override { return today; }
};

}  // namespace sw::testing

#include <QDir>
#include <QFileInfo>

inline bool sw::testing::FakeDesktop::DirectoryExists(const QString& path) const {
    return QFileInfo(path).isDir();
}
inline bool sw::testing::FakeDesktop::FileExists(const QString& path) const {
    return QFileInfo(path).isFile();
}
inline QString sw::testing::FakeDesktop::InstalledFile(const QString& path) const {
    const QString file = QDir(share).filePath(path);
    return !share.isEmpty() && QFileInfo(file).isFile() ? file : QString();
}
