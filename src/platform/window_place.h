// Placing top-level windows by their frame: the outer edge, title bar included, that the window
// manager draws round a window. The settings file stores the main window's frame corner, and the
// dialogs place their frames relative to it.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

class QWidget;

namespace sw::platform {

// Where a window whose frame is `frame` comes up: where it is while any part of its title bar
// (the top `titleHeight` pixels of the frame) lies on one of `screens`. Otherwise, the window
// having become unreachable (a monitor since removed), the least move that puts the frame on the
// nearest screen; a frame larger than that screen keeps its top-left corner on it.
QPoint ReachablePlace(const QRect& frame, int titleHeight, const QList<QRect>& screens);

// Waits, without taking the user's input, until the window manager has put its frame round a
// window just shown, so that the frame's size is known (at most a second; not at all where no
// window manager runs, or where windows have no frame the program can know, as on Wayland).
void AwaitFrame(QWidget* window);

// The top-left corner of the window's frame on the screen, as the window system has it (which
// the toolkit may not have heard of after the window manager framed the window).
QPoint FramePosition(const QWidget* window);

// Moves a window shown on the screen (and framed: AwaitFrame) to a stored frame corner, or, if
// not even its title bar would be on any screen there, as near to it as the nearest screen
// allows.
void RestoreFramePosition(QWidget* window, QPoint point);

}  // namespace sw::platform
