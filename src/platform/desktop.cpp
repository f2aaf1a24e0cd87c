#include "platform/desktop.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QUrl>

#include "platform/paths.h"

namespace sw::platform {

namespace {

const QString kBoxTitle = QStringLiteral("Stripewright");

class SystemDesktopImpl final : public Desktop {
  public:
    QString DocumentsFolder() const override { return SystemDocumentsFolder(); }
    bool DirectoryExists(const QString& path) const override { return QFileInfo(path).isDir(); }
    bool FileExists(const QString& path) const override { return QFileInfo(path).isFile(); }
    QString ExecutableFileName() const override {
        return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    }

    void OpenDocument(const QString& file, const QString& workingFolder) override {
        // The argument goes to the opener as one list element, never through a shell.
        QProcess::startDetached(QStringLiteral("xdg-open"), {file}, workingFolder);
    }
    void OpenAddress(const QString& address) override { QDesktopServices::openUrl(QUrl(address)); }

    void Beep() override { QApplication::beep(); }

    void WarningBox(QWidget* owner, const QString& text, QPoint topLeft) override {
        QMessageBox box(QMessageBox::Warning, kBoxTitle, text, QMessageBox::Ok, owner);
        box.move(topLeft);  // a moved dialog keeps its place when shown
        box.exec();
    }
    void ErrorBox(QWidget* owner, const QString& text) override {
        QMessageBox box(QMessageBox::Critical, kBoxTitle, text, QMessageBox::Ok, owner);
        box.exec();
    }

    int ShowModal(QDialog* dialog) override { return dialog->exec(); }

    void SetClipboard(QMimeData* data) override { QGuiApplication::clipboard()->setMimeData(data); }

    QDate Today() const override { return QDate::currentDate(); }
};

}  // namespace

Desktop& SystemDesktop() {
    static SystemDesktopImpl desktop;
    return desktop;
}

}  // namespace sw::platform
