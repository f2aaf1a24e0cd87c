#include "encode/offscreen_application.h"

#include <cstdio>

namespace sw {
namespace {

void QuietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

std::unique_ptr<QGuiApplication> StartOffscreenApplication() {
    if (QCoreApplication::instance() != nullptr)
        return nullptr;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietQtNotes);
    static int argc = 1;
    static char name[] = "stripewright-encode";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace sw
