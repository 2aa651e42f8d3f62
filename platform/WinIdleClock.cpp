#include "WinIdleClock.h"

#include "PlatformError.h"

#include <windows.h>

quint32 WinIdleClock::lastInputTick()
{
    LASTINPUTINFO info{};
    info.cbSize = sizeof(info);
    if (!GetLastInputInfo(&info))
        throw PlatformError(QString::fromWCharArray(L"GetLastInputInfo: ") + QString::number(GetLastError()));
    return quint32(info.dwTime);
}

quint32 WinIdleClock::tickCount()
{
    return quint32(GetTickCount());
}
