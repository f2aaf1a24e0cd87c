// A dialog that puts its frame at its place each time it is shown, before the window system
// shows it, so that the first showing lands where later ones do: a window placed before it
// first appears is placed by its frame, also while the frame's size is not yet known. A change
// of its size after that would let the window system place it by its client area instead, so
// whatever sets its size is done first (Prepare).
#pragma once

#include <QDialog>

#include "platform/window_place.h"

namespace sw {

class PlacedDialog : public QDialog {
  public:
    using QDialog::QDialog;

    void setVisible(bool visible) override {
        if (visible && !isVisible()) {
            Prepare();
            move(FramePlace());
        }
        QDialog::setVisible(visible);
    }

  protected:
    // Runs as the dialog is about to be shown, before it is placed.
    virtual void Prepare() {}
    // Where the top-left corner of the dialog's frame goes.
    virtual QPoint FramePlace() const = 0;
};

// The point `offset` right of and below the main window's frame corner.
inline QPoint BesideMainWindow(const QWidget* mainWindow, QPoint offset) {
    return (mainWindow ? platform::FramePosition(mainWindow) : QPoint()) + offset;
}

}  // namespace sw
