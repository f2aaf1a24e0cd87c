// The Qt application that the picture and label writers draw in, off screen.
#pragma once

#include <QGuiApplication>
#include <memory>

namespace sw {

// Starts an offscreen QGuiApplication when none runs (nothing otherwise): no display is needed
// or wanted, whatever the environment says. Qt's own notes (a missing runtime folder, no
// session bus) are kept quiet, since failures reach the user through the writers' messages.
std::unique_ptr<QGuiApplication> StartOffscreenApplication();

}  // namespace sw
