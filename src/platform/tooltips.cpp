#include "platform/tooltips.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace sw::platform {

ToolTipController::ToolTipController(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

ToolTipController::~ToolTipController() {
    if (qApp)
        qApp->removeEventFilter(this);
}

bool ToolTipController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
        return false;
    if (!enabled_) {
        QToolTip::hideText();
        return true;
    }
    auto* widget = static_cast<QWidget*>(watched);
    const QString tip = widget->toolTip();
    // Without a tip of its own the widget passes the request on to its parent, as usual.
    if (hideDelay_ < 0 || tip.isEmpty())
        return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), tip, widget, QRect(), hideDelay_);
    return true;
}

}  // namespace sw::platform
