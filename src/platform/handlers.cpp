#include "platform/handlers.h"

#include <QWidget>
#include <new>

namespace sw::platform {

void ReportEscapedError(Desktop& desktop, QWidget* owner, std::exception_ptr error) {
    QString text;
    try {
        std::rethrow_exception(std::move(error));
    } catch (const std::bad_alloc&) {
        text = QStringLiteral("Out of memory.");
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("An unexpected error occurred.");
    }
    desktop.ErrorBox(owner, text);
}

Application::Application(int& argc, char** argv, Desktop& desktop)
    : FontSetupAhead(), QApplication(argc, argv), desktop_(desktop) {
    FinishFontSetup();
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportEscapedError(desktop_, activeWindow(), std::current_exception());
        return false;
    }
}

}  // namespace sw::platform
