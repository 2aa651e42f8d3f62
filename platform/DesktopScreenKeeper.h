#pragma once
// The screen kept on through the desktop's own inhibit interface on the session bus
// (org.freedesktop.ScreenSaver, GNOME's session manager), and through the X server's screen
// saver extension, which suspends the X screen saver and DPMS for as long as this program's
// connection lasts, so a crash cannot leave the screen on for good.

#include "ScreenKeeper.h"

#include <QString>

class DesktopScreenKeeper : public ScreenKeeper {
public:
    ~DesktopScreenKeeper() override;
    void keepOn() override;
    void release() override;
    void wake() override;

private:
    bool m_kept = false;
    QString m_service;   // the bus service that granted the inhibition, empty when none did
    unsigned m_cookie = 0;
};
