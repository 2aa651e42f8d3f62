#pragma once
// Whether a window can be shown at all: Qt ends the process with an abort when its display
// cannot be reached, which a service's log tells as a crash. Asked before the application starts.

namespace GraphicalSession {
// A Wayland compositor's socket or an X server that takes a connection, or a platform of Qt's
// own chosen by QT_QPA_PLATFORM (offscreen, vnc...) that needs neither.
bool available();
// The X connection of that question is held until the application has its own: an X server
// with no client left resets, and would refuse the application's connection meanwhile.
void letGo();
}
