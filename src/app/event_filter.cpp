// Events the main window watches on its controls: F1 in the data field, Tab into a group of
// radio buttons, and leaving the point size box.
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include "app/main_window.h"

namespace sw {

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == BarTextInput && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        Run([&] { BarTextInputKeyDown(key->key(), key->modifiers()); });
        return false;  // the field handles the key as usual
    }
    if (event->type() == QEvent::FocusIn) {
        // Tab enters a group of radio buttons at its checked button.
        const auto* focus = static_cast<QFocusEvent*>(event);
        auto* radio = qobject_cast<QRadioButton*>(watched);
        if (radio && !radio->isChecked() &&
            (focus->reason() == Qt::TabFocusReason || focus->reason() == Qt::BacktabFocusReason)) {
            for (QRadioButton* sibling : radio->parentWidget()->findChildren<QRadioButton*>(
                     QString(), Qt::FindDirectChildrenOnly)) {
                if (sibling->isChecked() && sibling->isVisible()) {
                    sibling->setFocus(focus->reason());
                    break;
                }
            }
        }
    }
    if ((watched == PointSize || watched == PointSize->lineEdit()) &&
        event->type() == QEvent::FocusOut) {
        // Leaving the box for another control of this window; a dialog or the list popping up
        // over it is no leaving. The box and its edit field both see the one move.
        const auto* focus = static_cast<QFocusEvent*>(event);
        const QWidget* next = QApplication::focusWidget();
        const bool withinBox = next == PointSize || next == PointSize->lineEdit();
        if (watched == PointSize && !withinBox && focus->reason() != Qt::ActiveWindowFocusReason &&
            focus->reason() != Qt::PopupFocusReason) {
            Run([&] { ShortClick(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace sw
