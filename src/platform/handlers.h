// The default handling of an error that escapes an event handler: the standard error message
// box shows the error's text, and the program goes on. Handlers are connected through
// RunHandler so that no exception ever unwinds through the toolkit's own frames; Application
// catches whatever an event handler of ours lets escape all the same.
#pragma once

#include <QApplication>
#include <exception>
#include <utility>

#include "platform/desktop.h"
#include "platform/font_setup.h"

namespace sw::platform {

// Shows the error that `error` holds (the current exception when called from a catch block).
void ReportEscapedError(Desktop& desktop, QWidget* owner, std::exception_ptr error);

// Runs a handler; an exception that escapes it is reported and goes no further.
template <class Handler>
void RunHandler(Desktop& desktop, QWidget* owner, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        ReportEscapedError(desktop, owner, std::current_exception());
    }
}

// Connects a signal to a handler that runs through RunHandler.
template <class Sender, class Signal, class Handler>
void ConnectHandler(Desktop& desktop, QWidget* owner, Sender* sender, Signal signal,
                    Handler handler) {
    QObject::connect(sender, signal, owner, [&desktop, owner, handler](auto&&...) {
        RunHandler(desktop, owner, handler);
    });
}

// The application object: reports an exception that escapes the delivery of an event and
// carries on with the next one. The desktop's font configuration is set up alongside the
// application's own start.
class Application : private FontSetupAhead, public QApplication {
  public:
    Application(int& argc, char** argv, Desktop& desktop);
    bool notify(QObject* receiver, QEvent* event) override;

  private:
    Desktop& desktop_;
};

}  // namespace sw::platform
