#include "platform/desktop.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>
#include <QWindow>

#include "platform/paths.h"

namespace sw::platform {

namespace {

const QString kBoxTitle = QStringLiteral("Stripewright");
// The set-up copies a few files and may rebuild the font cache: seconds, not minutes.
constexpr int kSetupTimeLimitMs = 120000;

// The desktop file of the application that opens files of a MIME type by default (empty: none).
QString DefaultApplication(const QString& mimeType) {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished();
        return QString();
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0
               ? QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed()
               : QString();
}

// A message box whose frame's corner goes to a given point. The box sizes itself to its text as
// it is shown, after any placing from outside, and the window system then places it by its
// client area, where the frame's size is not yet known: so it is placed once it has its size,
// its client area as far from the point as the owner's frame reaches round the owner's.
class PlacedMessageBox : public QMessageBox {
  public:
    PlacedMessageBox(Icon icon, const QString& text, QWidget* owner, QPoint frameTopLeft)
        : QMessageBox(icon, kBoxTitle, text, QMessageBox::Ok, owner),
          owner_(owner),
          place_(frameTopLeft) {}

  protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        const QWindow* own = windowHandle();
        const QWindow* owner = owner_ ? owner_->window()->windowHandle() : nullptr;
        if (own && own->frameMargins().isNull() && owner && !owner->frameMargins().isNull()) {
            move(place_ + QPoint(owner->frameMargins().left(), owner->frameMargins().top()));
        } else {
            move(place_);
        }
    }

  private:
    QWidget* owner_;
    QPoint place_;
};

class SystemDesktopImpl final : public Desktop {
  public:
    QString DocumentsFolder() const override { return SystemDocumentsFolder(); }
    bool DirectoryExists(const QString& path) const override { return QFileInfo(path).isDir(); }
    bool FileExists(const QString& path) const override { return QFileInfo(path).isFile(); }
    QString ExecutableFileName() const override {
        return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    }
    QString WorkingFolder() const override { return QDir::currentPath(); }
    QString InstalledFile(const QString& path) const override {
        for (const QString& share :
             {QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share")),
              QStringLiteral(SW_INSTALL_DATADIR)}) {
            const QFileInfo file(QDir(share).filePath(path));
            if (file.isFile())
                return file.canonicalFilePath();
        }
        return QString();
    }
    bool HasViewerFor(const QString& fileName) const override {
        const QMimeType type =
            QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
        QStringList names = type.aliases();
        names.prepend(type.name());
        for (const QString& name : names) {
            if (!DefaultApplication(name).isEmpty())
                return true;
        }
        return false;
    }

    QString RunSetup() override {
        QString program;
        for (const QString& folder :
             {QCoreApplication::applicationDirPath(), QStringLiteral(SW_INSTALL_BINDIR)}) {
            const QFileInfo file(QDir(folder).filePath(QStringLiteral("stripewright-setup")));
            if (file.isFile() && file.isExecutable()) {
                program = file.absoluteFilePath();
                break;
            }
        }
        if (program.isEmpty())
            return QStringLiteral("The set-up program stripewright-setup was not found.");
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QProcess setup;
        setup.setProgram(program);
        setup.setArguments({QStringLiteral("--quiet")});
        setup.setStandardInputFile(QProcess::nullDevice());
        setup.start();
        const bool finished = setup.waitForFinished(kSetupTimeLimitMs);
        if (!finished && setup.state() != QProcess::NotRunning) {
            setup.kill();
            setup.waitForFinished();
        }
        QApplication::restoreOverrideCursor();
        const QString said = QString::fromLocal8Bit(setup.readAllStandardError()).trimmed();
        if (setup.error() == QProcess::FailedToStart) {
            return QStringLiteral("The set-up program %1 could not be started: %2")
                .arg(program, setup.errorString());
        }
        if (!finished)
            return QStringLiteral("The set-up program %1 did not finish.").arg(program);
        if (setup.exitStatus() != QProcess::NormalExit || setup.exitCode() != 0) {
            return said.isEmpty() ? QStringLiteral("The set-up program %1 failed (exit status %2).")
                                        .arg(program)
                                        .arg(setup.exitCode())
                                  : said;
        }
        return QString();
    }

    void OpenDocument(const QString& file, const QString& workingFolder) override {
        // The argument goes to the opener as one list element, never through a shell.
        QProcess::startDetached(QStringLiteral("xdg-open"), {file}, workingFolder);
    }
    void OpenAddress(const QString& address) override { QDesktopServices::openUrl(QUrl(address)); }

    void Beep() override { QApplication::beep(); }

    void WarningBox(QWidget* owner, const QString& text, QPoint topLeft) override {
        PlacedMessageBox box(QMessageBox::Warning, text, owner, topLeft);
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
