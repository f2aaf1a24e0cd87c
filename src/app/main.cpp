// The program entry: the application, the windows, the start-up sequence once the main window
// is on screen, then the event loop. The program reads no command line.
#include <QMessageBox>
#include <QTimer>
#include <exception>

#include "app/program.h"
#include "platform/handlers.h"

int main(int argc, char** argv) {
    sw::platform::Desktop& desktop = sw::platform::SystemDesktop();
    sw::platform::Application app(argc, argv, desktop);
    QApplication::setApplicationName(QStringLiteral("Stripewright"));
    try {
        sw::Program program(desktop);
        program.CentreMainWindow();
        program.Form1.show();
        // Start-up runs once, from the event loop's first turn: the window is visible and no
        // input of the user has been handled yet.
        QTimer::singleShot(0, &program.Form1, [&program, &desktop] {
            sw::platform::RunHandler(desktop, &program.Form1,
                                     [&program] { program.Form1.FormActivate(); });
        });
        return app.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Stripewright"), QString::fromUtf8(e.what()));
        return 1;
    }
}
