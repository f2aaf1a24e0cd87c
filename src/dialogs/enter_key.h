// Enter (and Return) presses the button that has the keyboard focus, as desktop users expect
// of a dialog or window. When the focus is on something else (a check box, a radio button, a
// text), the key goes on to the window as before: a dialog's default button, where it has one,
// takes it.
#pragma once

#include <QAbstractButton>
#include <QKeyEvent>
#include <QWidget>

namespace sw {

class EnterPressesFocusedButton : public QObject {
  public:
    // Works on `window` for as long as the window lives.
    explicit EnterPressesFocusedButton(QWidget* window) : QObject(window) {
        window->installEventFilter(this);
    }

  protected:
    // Sees the keys that the focused control left alone on their way up to the dialog.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
            return false;
        }
        auto* button =
            qobject_cast<QAbstractButton*>(static_cast<QWidget*>(watched)->focusWidget());
        if (!button || button->isCheckable() || !button->isEnabled() || !button->isVisible())
            return false;
        button->click();
        return true;
    }
};

}  // namespace sw
