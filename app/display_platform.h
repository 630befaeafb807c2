#pragma once
// Which of Qt's platforms the program asks for when the user asked for none.
#include <QByteArray>

namespace tuvrel {

struct DisplayEnvironment {
    QByteArray qpaPlatform;     // QT_QPA_PLATFORM
    QByteArray display;         // DISPLAY
    QByteArray waylandDisplay;  // WAYLAND_DISPLAY
};

// The platform to set before the application object is made, or an empty
// array to leave Qt's own choice. On a Wayland desktop that also offers X
// (XWayland), the program runs through X: there it may place its windows
// (a restarted game opens where it stood) and bring a window to the front and
// activate it at every Show, which native Wayland allows neither without
// protocols that not every compositor offers.
QByteArray chosenPlatform(const DisplayEnvironment& environment);

// False when there is no display of any kind to open.
bool hasDisplay(const DisplayEnvironment& environment);

}  // namespace tuvrel
