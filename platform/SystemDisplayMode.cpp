#include "DisplayMode.h"

#include <QGuiApplication>
#include <QScreen>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

QSize SystemDisplayMode::screenSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(800, 600);
}

void SystemDisplayMode::requestMode(int width, int height, int bitsPerPixel)
{
#ifdef Q_OS_WIN
    DEVMODEA mode = {};
    mode.dmSize = 156;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmBitsPerPel = DWORD(bitsPerPixel);
    mode.dmPelsWidth = DWORD(width);
    mode.dmPelsHeight = DWORD(height);
    ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN);
#else
    Q_UNUSED(width);
    Q_UNUSED(height);
    Q_UNUSED(bitsPerPixel);
#endif
}
